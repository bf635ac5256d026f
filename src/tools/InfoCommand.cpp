#include "tools/Commands.h"

#include "format/ByteCursor.h"
#include "format/ExamReader.h"
#include "format/FileWindow.h"
#include "model/KipsaPrubex.h"
#include "model/KpError.h"
#include "tools/ExamJsonWriter.h"
#include "tools/JsonWriter.h"
#include "tools/PictureDigests.h"
#include "tools/Sha256.h"

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
    // it is read again, one question at a time. The pictures are hashed on other threads from
    // where the first walk found them, while the second walk writes the rest; it finds them in
    // the same places or the file changed in between.
    KpError failure(0, QString());
    std::vector<ByteCursor::Span> pictures;
    const auto load = [&] {
        FileWindow file(args[0], KipsaPrubex::kMaxFileSize);
        ByteCursor in(file, /*keepBlobs=*/false);
        KipsaPrubex settings;
        KeysOnly keys;
        ExamReader(settings, keys).read(in);
        pictures = in.skippedBlobs();
    };
    const auto write = [&] {
        PictureDigests digests(args[0], pictures);
        FileWindow file(args[0], KipsaPrubex::kMaxFileSize);
        ByteCursor in(file, /*keepBlobs=*/false);
        KipsaPrubex exam;
        JsonWriter json(out);
        size_t written = 0;
        ExamJsonWriter writer(exam, json, [&] {
            // Only a picture the reader has just skipped is one; other members are empty.
            if (written == in.skippedBlobs().size())
                return ExamJsonWriter::Picture{0, sha256Hex(QByteArrayView())};
            const ByteCursor::Span at = in.skippedBlobs()[written];
            if (written >= pictures.size() || !(at == pictures[written]))
                throw KpError(KpError::PastEnd,
                              QStringLiteral("%1 cambió mientras se leía").arg(args[0]));
            return ExamJsonWriter::Picture{at.size, digests.hex(written++)};
        });
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
