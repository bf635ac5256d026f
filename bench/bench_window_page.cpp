// Page switches of the exam window on the offscreen platform: a click on "Siguiente pregunta"
// and the paint of the whole window, against the paint alone of the same page with its widgets
// kept. Pages of long texts (half of them RTF, six answers) and the pages of the sample exam.
// Each figure is the median and the 90th percentile of single switches, in milliseconds.
#include "model/Clock.h"
#include "model/RandomSource.h"
#include "results/ExamState.h"
#include "widgets/QtPrompts.h"
#include "window/ExamOpening.h"
#include "window/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>

namespace {

// About 2.6 KB of text per question with its answers, as in the big text-heavy exam.
QString longText(int i, int words, bool rtf) {
    QString plain;
    for (int w = 0; plain.size() < words * 7; ++w)
        plain += QStringLiteral("palabra%1 ").arg((i * 31 + w) % 997);
    if (!rtf)
        return plain;
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}"
                          "{\\colortbl ;\\red200\\green0\\blue0;}\\pard\\f0\\fs20 \\b Pregunta "
                          "%1:\\b0  %2\\par \\i %3\\i0 \\cf1 final\\cf0\\par}")
        .arg(i)
        .arg(plain.left(plain.size() / 2), plain.mid(plain.size() / 2));
}

std::shared_ptr<kp::KipsaPrubex> longTextExam(int questions) {
    auto e = std::make_shared<kp::KipsaPrubex>();
    e->setIdExamen(QStringLiteral("LARGO"));
    e->setTipoExamen(1);
    e->setNotaMaxima(10);
    e->setColorFondo(16777215);
    kp::Serie s;
    s.setNumero(1);
    s.setKey(QStringLiteral("serie1"));
    for (int i = 1; i <= questions; ++i) {
        kp::Pregunta p;
        p.setId(QStringLiteral("q%1").arg(i));
        p.setKey(QStringLiteral("preguntaq%1").arg(i));
        p.setTextoPregunta(longText(i, 140, i % 2 == 0));
        for (int k = 1; k <= 6; ++k) {
            kp::Respuesta r;
            r.setNumero(static_cast<qint16>(k));
            r.setKey(QStringLiteral("respuesta%1").arg(k));
            r.setTexto(longText(i * 10 + k, 40, (i + k) % 2 == 0));
            r.setCorrecta(k == 2);
            p.respuestas()->Add(r);
        }
        e->Preguntas()->Add(p);
        s.PreguntasSerie()->Add(p.Id(), static_cast<qint16>(i), 1, p.Key());
    }
    e->Series()->Add(s);
    return e;
}

// The time this thread has run, in milliseconds: on a machine that others load too, wall time
// also counts the waits for a core.
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

double percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5)];
}

// The exam window on an opened exam, started at question 1 and shown maximised.
class Desk {
public:
    explicit Desk(const std::function<bool(kp::ExamState&)>& open)
        : window(state, prompts, clock, random) {
        if (!open(state))
            std::abort();
        window.showMaximized();
        while (!window.windowHandle() || !window.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window.showOpenedExam();
        for (int i = 1; i <= 5; ++i)
            if (auto* field = window.findChild<QLineEdit*>(QStringLiteral("dato%1Txt").arg(i)))
                field->setText(QStringLiteral("Ana"));
        window.findChild<QPushButton*>(QStringLiteral("EmpezarBtn"))->click();
        next = window.findChild<QPushButton*>(QStringLiteral("SiguienteBtn"));
        settle();
    }

    // Everything the last action left for the event loop, the paint of what it changed
    // included.
    static void settle() { QCoreApplication::processEvents(); }

    // The page as it stands, every control of it painted again.
    void repaintPage() {
        for (QWidget* w : window.findChildren<QWidget*>())
            if (w->isVisible())
                w->update();
        settle();
    }

    // One timed step: a switch to the next page (back to the first after the last one, untimed),
    // or, when keep is true, the same page painted again.
    Timing step(bool keep) {
        if (!keep && !next->isEnabled()) {
            window.ShowPregunta(1);
            settle();
        }
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        if (keep) {
            repaintPage();
        } else {
            next->click();
            settle();
        }
        return {static_cast<double>(t.nsecsElapsed()) / 1e6, threadCpuMs() - cpu};
    }

    kp::ExamState state;
    kp::QtPrompts prompts;
    kp::SystemClock clock;
    kp::SystemRandom random;
    kp::frmMain window;
    QPushButton* next = nullptr;
};

// Switches interleaved with paints of the kept page, so both see the same machine.
void run(benchmark::State& bench, Desk& desk) {
    std::vector<double> switches, kept, switchesCpu, keptCpu;
    for (auto _ : bench) {
        const Timing s = desk.step(false);
        const Timing k = desk.step(true);
        switches.push_back(s.wallMs);
        switchesCpu.push_back(s.cpuMs);
        kept.push_back(k.wallMs);
        keptCpu.push_back(k.cpuMs);
        bench.SetIterationTime(s.wallMs / 1000);
    }
    bench.counters["median_ms"] = percentile(switches, 0.5);
    bench.counters["p90_ms"] = percentile(switches, 0.9);
    bench.counters["kept_median_ms"] = percentile(kept, 0.5);
    bench.counters["ratio"] = percentile(switches, 0.5) / percentile(kept, 0.5);
    bench.counters["cpu_median_ms"] = percentile(switchesCpu, 0.5);
    bench.counters["cpu_p90_ms"] = percentile(switchesCpu, 0.9);
    bench.counters["kept_cpu_median_ms"] = percentile(keptCpu, 0.5);
}

// Made on first use and gone before the application.
std::unique_ptr<Desk> longTextDesk, sampleDesk;

void BM_PageSwitchLongText(benchmark::State& s) {
    if (!longTextDesk)
        longTextDesk = std::make_unique<Desk>([](kp::ExamState& st) {
            st.replaceExam(longTextExam(30));
            st.examLoaded();
            return true;
        });
    run(s, *longTextDesk);
}

void BM_PageSwitchSample(benchmark::State& s) {
    if (!sampleDesk)
        sampleDesk = std::make_unique<Desk>([](kp::ExamState& st) {
            kp::QtPrompts prompts;
            return kp::AbrirExamen(st, prompts, QStringLiteral(KP_SAMPLE_EXAM));
        });
    run(s, *sampleDesk);
}

BENCHMARK(BM_PageSwitchLongText)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PageSwitchSample)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The start probes the results path in the working folder: keep it out of the way.
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    longTextDesk.reset();
    sampleDesk.reset();
    return 0;
}
