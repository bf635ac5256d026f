#pragma once

#include "WindowFixture.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

namespace kp::test {

// The exam window with a scratch folder for results files and for the program's folder, and
// helpers to run an exam to its end.
class FinishFixture : public WindowFixture {
protected:
    QTemporaryDir dir;

    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir(QStringLiteral("programa"));
        w->setProgramFolder(programFolder());
    }

    QString programFolder() const { return dir.filePath(QStringLiteral("programa")); }

    // n multiple-choice questions of k answers (answer 1 right), a "Nombre" field and a results
    // file in the scratch folder, grade and review shown.
    std::shared_ptr<KipsaPrubex> exam(int n = 2, int k = 3, qint16 minutos = 0) {
        auto e = ExamBuilder::simple(n, k).build();
        e->setDatoAlumno(1, QStringLiteral("Nombre"));
        e->setGuardarArchivoResultados(true);
        e->setRutaArchivoResultados(dir.filePath(QStringLiteral("res")));
        e->setMostrarNota(true);
        e->setMostrarFallos(true);
        e->setMinutosLimite(minutos);
        e->setNotaMaxima(10);
        return e;
    }

    void start(std::shared_ptr<KipsaPrubex> e, const QString& nombre = QStringLiteral("Ana")) {
        open(std::move(e));
        w->datoTxt[0]->setText(nombre);
        w->EmpezarBtn->click();
        ASSERT_TRUE(state.ExamenEnCurso);
    }

    // Finishes through the button, answering "Sí".
    void finishByRequest() {
        prompts.answers.push_back(PromptAnswer::Yes);
        w->FinalizarBtn->click();
    }

    // A tick after the given number of milliseconds.
    void tickAfter(qint64 ms) {
        clock.advanceMs(ms);
        w->LimiteTiempo_Timer();
    }

    int countMessages(const QString& text) const {
        int n = 0;
        for (const auto& m : prompts.messages)
            n += m.text == text ? 1 : 0;
        return n;
    }

    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The bytes of a results file: header, five labels and values, then one record per
    // question with its marks text ("0;" when blank).
    static QByteArray resultsBytes(const QString& id, qint16 serie, const QStringList& labels,
                                   const QStringList& values, qint16 kind,
                                   const QStringList& marks) {
        auto number = [](qint64 v) { return QByteArray::number(v).rightJustified(10, '0'); };
        auto text = [&](const QString& t) {
            const QByteArray b = t.toLatin1();
            return number(b.size()) + b;
        };
        QByteArray out = "0000000300" + text(id) + number(serie);
        for (int i = 0; i < 5; ++i)
            out += text(labels.value(i)) + text(values.value(i));
        out += number(marks.size());
        for (int i = 0; i < marks.size(); ++i)
            out += number(kind) + number(i + 1) + text(marks[i]);
        return out;
    }
};

} // namespace kp::test
