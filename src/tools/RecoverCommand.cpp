#include "tools/Commands.h"

#include "format/JournalReader.h"
#include "format/SafeFile.h"
#include "results/FinishRules.h"

using namespace Qt::StringLiterals;

namespace kp::tools {

namespace {

const char16_t* const kRecoverUsage = u"Uso: kxt recover RECUPERACION.kxr -o RESULTADOS.kxa\n";

QString duration(qint64 ms) {
    return remainingTimeText(static_cast<qint32>(std::min<qint64>(ms / 1000, 0x7FFFFFFF)));
}

// What was recovered: the exam, the student, the time and what became of the files.
void describe(QTextStream& out, const JournalReader& reader, const SafeFile& files,
              const QString& output) {
    const JournalHeader& h = reader.header();
    out << u"kxt recover: %1 escrito con las respuestas del archivo de recuperación.\n"_s.arg(
        output);
    out << u"Examen \"%1\", serie %2, %3 preguntas, %4 respuestas marcadas.\n"_s
               .arg(h.IdExamen.trimmed())
               .arg(h.Serie)
               .arg(h.TotalPreguntas)
               .arg(reader.marks().size());
    for (size_t i = 0; i < h.etiquetas.size(); ++i)
        if (!h.etiquetas[i].trimmed().isEmpty())
            out << u"%1: %2\n"_s.arg(h.etiquetas[i].trimmed(), h.datos[i].trimmed());
    if (h.HoraInicio.isValid())
        out << u"Empezado el %1.\n"_s.arg(h.HoraInicio.toString(u"dd/MM/yyyy 'a las' HH:mm:ss"_s));
    out << u"Tiempo de examen transcurrido: %1 hasta el último registro"_s.arg(
        duration(reader.elapsedMs()));
    if (h.SegundosLimite > 0)
        out << u", de un límite de %1"_s.arg(duration(qint64(h.SegundosLimite) * 1000));
    out << u".\n"_s;
    if (!h.ArchivoSalida.isEmpty())
        out << u"El programa iba a escribirlo en %1.\n"_s.arg(h.ArchivoSalida);
    if (!files.backupPath().isEmpty())
        out << u"El archivo que ya había en %1 se ha guardado como %2.\n"_s.arg(output,
                                                                                files.backupPath());
    if (reader.ignoredBytes() > 0)
        out << u"Aviso: se han descartado los últimos %1 bytes, un registro incompleto o dañado "
               u"(el programa se detuvo mientras lo escribía).\n"_s.arg(reader.ignoredBytes());
}

} // namespace

int runRecover(const QStringList& args, QTextStream& out, QTextStream& err) {
    QString journalPath;
    QString output;
    bool wrong = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"-o" && i + 1 < args.size() && output.isEmpty())
            output = args[++i];
        else if (journalPath.isEmpty() && !args[i].startsWith(u'-'))
            journalPath = args[i];
        else
            wrong = true;
    }
    if (wrong || journalPath.isEmpty() || output.isEmpty()) {
        err << QString::fromUtf16(kRecoverUsage);
        return 2;
    }
    JournalReader reader;
    if (!reader.readFile(journalPath)) {
        err << u"kxt recover: no se puede recuperar %1: %2\n"_s.arg(journalPath,
                                                                    reader.errorString());
        return 1;
    }
    SafeFile files;
    if (!files.write(output, reader.resultsFile())) {
        err << u"kxt recover: no se puede escribir %1: %2\n"_s.arg(output, files.errorString());
        return 1;
    }

    describe(out, reader, files, output);
    return 0;
}

} // namespace kp::tools
