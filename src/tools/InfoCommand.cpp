#include "tools/Commands.h"

#include "format/ByteCursor.h"
#include "format/ExamReader.h"
#include "format/FileWindow.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/ExamJsonWriter.h"
#include "tools/JsonWriter.h"

namespace kp::tools {

namespace {

// Keeps only the keys of questions and series, refusing a duplicate as the exam's collections
// do: a check of the whole file that holds next to nothing of it.
class KeysOnly : public ExamReader::Receiver {
public:
    void headerRead(qint16 questions, qint16) override { questions_.reserve(questions); }
    void question(std::shared_ptr<Pregunta> p) override { questions_.insert(p->Key(), nullptr); }
    void series(const Serie& s) override { series_.insert(s.Key(), nullptr); }

private:
    KeyedList<Pregunta> questions_;
    KeyedList<Serie> series_;
};

} // namespace

int runInfo(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 1 || args[0].startsWith(u'-')) {
        err << QStringLiteral("Uso: kxt info EXAMEN.kxt\n");
        return 2;
    }
    // The file is walked twice, never held whole: checked first, pictures skipped, so that an
    // exam that does not load prints nothing on stdout; then written out record by record as
    // it is read again, one question and one picture at a time.
    KpError failure(0, QString());
    const auto load = [&] {
        FileWindow file(args[0], KipsaPrubex::kMaxFileSize);
        ByteCursor in(file, /*keepBlobs=*/false);
        KipsaPrubex settings;
        KeysOnly keys;
        ExamReader(settings, keys).read(in);
    };
    const auto write = [&] {
        FileWindow file(args[0], KipsaPrubex::kMaxFileSize);
        ByteCursor in(file, /*keepBlobs=*/true);
        KipsaPrubex exam;
        JsonWriter json(out);
        ExamJsonWriter writer(exam, json);
        ExamReader(exam, writer).read(in);
        writer.finish();
    };
    if (!KpError::catchAll(load, &failure) || !KpError::catchAll(write, &failure)) {
        err << QStringLiteral("kxt: no se puede abrir el examen %1\n").arg(args[0]);
        if (!failure.message().isEmpty())
            err << QStringLiteral("kxt: %1\n").arg(failure.message());
        return 1;
    }
    return 0;
}

} // namespace kp::tools
