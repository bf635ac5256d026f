#include "tools/ClassReport.h"

#include "model/Fields.h"
#include "model/KipsaPrubex.h"

#include <algorithm>
#include <numeric>

namespace kp::tools {

namespace {

// The text without accents and letter case, so that "Álvarez" sorts beside "alvarez".
QString sortKey(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    return key.toCaseFolded();
}

} // namespace

std::vector<size_t> ClassReport::studentsBy(StudentOrder order) const {
    std::vector<QString> keys(students.size());
    for (size_t s = 0; s < students.size(); ++s) {
        QStringList parts;
        for (const QString& d : students[s].row.datos)
            parts << sortKey(d);
        keys[s] = parts.join(QChar(1));
    }
    const auto byName = [&](size_t a, size_t b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        return students[a].row.archivo < students[b].row.archivo;
    };
    std::vector<size_t> index(students.size());
    std::iota(index.begin(), index.end(), size_t{0});
    if (order == StudentOrder::Grade)
        std::sort(index.begin(), index.end(), [&](size_t a, size_t b) {
            if (students[a].row.nota != students[b].row.nota)
                return students[a].row.nota > students[b].row.nota;
            return byName(a, b);
        });
    else
        std::sort(index.begin(), index.end(), byName);
    return index;
}

std::vector<int> ClassReport::dataColumns() const {
    std::vector<int> columns;
    for (int i = 1; i <= 5; ++i) {
        bool used = !TrimBlanks(exam.DatoAlumno(i)).isEmpty();
        for (size_t s = 0; s < students.size() && !used; ++s)
            used = !students[s].row.datos[static_cast<size_t>(i - 1)].isEmpty();
        if (used)
            columns.push_back(i);
    }
    return columns;
}

QString ClassReport::dataLabel(int i) const {
    const QString label = TrimBlanks(exam.DatoAlumno(i));
    return label.isEmpty() ? QStringLiteral("Dato %1").arg(i) : label;
}

} // namespace kp::tools
