#include "ReportClass.h"

#include <QXmlStreamReader>
#include <functional>
#include <gtest/gtest.h>

using namespace kp;
using namespace kp::test;
using namespace kp::tools;
using namespace Qt::StringLiterals;

namespace {

// The report read back as a tree of elements.
struct Node {
    QString name;
    QString namespaceUri;
    QXmlStreamAttributes attributes;
    std::vector<std::unique_ptr<Node>> children;
    QString ownText;

    QString attribute(const QString& key) const { return attributes.value(key).toString(); }
    bool hasClass(const QString& c) const { return attribute(u"class"_s).split(u' ').contains(c); }
    QString text() const {
        QString all = ownText;
        for (const auto& child : children)
            all += child->text();
        return all;
    }
    void collect(const std::function<bool(const Node&)>& wanted,
                 std::vector<const Node*>& found) const {
        if (wanted(*this))
            found.push_back(this);
        for (const auto& child : children)
            child->collect(wanted, found);
    }
    std::vector<const Node*> all(const std::function<bool(const Node&)>& wanted) const {
        std::vector<const Node*> found;
        collect(wanted, found);
        return found;
    }
    const Node* byId(const QString& id) const {
        const auto found = all([&](const Node& n) { return n.attribute(u"id"_s) == id; });
        return found.empty() ? nullptr : found.front();
    }
    // Texts of the elements named `element` below this one, in document order.
    QStringList texts(const QString& element, const QString& cssClass = {}) const {
        QStringList list;
        for (const Node* n : all([&](const Node& x) {
                 return x.name == element && (cssClass.isEmpty() || x.hasClass(cssClass));
             }))
            list << n->text();
        return list;
    }
};

// Parses the whole file; an empty root and the parser's message when it is not well-formed.
std::unique_ptr<Node> parse(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = u"cannot open"_s;
        return nullptr;
    }
    QXmlStreamReader xml(&file);
    auto root = std::make_unique<Node>();
    std::vector<Node*> open{root.get()};
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement: {
            auto node = std::make_unique<Node>();
            node->name = xml.name().toString();
            node->namespaceUri = xml.namespaceUri().toString();
            node->attributes = xml.attributes();
            Node* raw = node.get();
            open.back()->children.push_back(std::move(node));
            open.push_back(raw);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            open.back()->ownText += xml.text();
            break;
        default:
            break;
        }
    }
    error = xml.hasError() ? xml.errorString() : QString();
    return root;
}

std::unique_ptr<Node> report(const ReportClass& c, const QStringList& options, int status = 0) {
    const QString out = c.path(u"informe.html"_s);
    const CommandRun run = kxt(runReport, QStringList{c.examPath, c.dir(), u"-o"_s, out} + options);
    EXPECT_EQ(run.status, status) << run.err.toStdString();
    QString error;
    auto root = parse(out, error);
    EXPECT_EQ(error, QString()) << "not well-formed";
    return root;
}

} // namespace

TEST(KxtReportHtml, EveryFigureOfTheHandWorkedClassIsOnThePage) {
    HandClass c;
    const auto page = report(c, {});
    ASSERT_TRUE(page);
    const Node* html = page->children.empty() ? nullptr : page->children.front().get();
    ASSERT_TRUE(html && html->name == u"html");
    EXPECT_EQ(html->namespaceUri, u"http://www.w3.org/1999/xhtml");

    const struct {
        const char* row;
        QStringList cells; // the class, then series 1
    } summary[] = {
        {"resumen-resultados", {u"5"_s, u"5"_s}},
        {"resumen-media", {u"2,40"_s, u"2,40"_s}},
        {"resumen-mediana", {u"2,00"_s, u"2,00"_s}},
        {"resumen-desviacion", {u"1,14"_s, u"1,14"_s}},
        {"resumen-minima", {u"1,00"_s, u"1,00"_s}},
        {"resumen-maxima", {u"4,00"_s, u"4,00"_s}},
        {"resumen-aprobados", {u"4 (80,0\u00A0%)"_s, u"4 (80,0\u00A0%)"_s}},
        {"resumen-alfa", {u"0,21"_s, u"0,21"_s}},
        {"resumen-error-tipico", {u"1,02"_s, u"1,02"_s}},
    };
    for (const auto& row : summary) {
        SCOPED_TRACE(row.row);
        const Node* tr = page->byId(QString::fromUtf8(row.row));
        ASSERT_TRUE(tr);
        EXPECT_EQ(tr->texts(u"td"_s), row.cells);
    }

    const struct {
        const char *question, *facility, *discrimination, *biserial;
        int marked[3]; // of five students, answers 1, 2, 3: shown as "4 (80,0 %)"
    } questions[] = {
        {"pregunta-1", "0,80", "1,00", "0,38", {4, 1, 0}},
        {"pregunta-2", "0,60", "1,00", "0,33", {3, 1, 1}},
        {"pregunta-3", "0,40", "1,00", "0,65", {2, 2, 1}},
        {"pregunta-4", "0,60", "0,00", "-0,49", {3, 1, 0}},
    };
    for (const auto& q : questions) {
        SCOPED_TRACE(q.question);
        const Node* section = page->byId(QString::fromUtf8(q.question));
        ASSERT_TRUE(section);
        EXPECT_EQ(section->texts(u"td"_s, u"veces"_s), QStringList{u"5"_s});
        EXPECT_EQ(section->texts(u"td"_s, u"facilidad"_s).value(0), QString::fromUtf8(q.facility));
        EXPECT_EQ(section->texts(u"td"_s, u"discriminacion"_s).value(0),
                  QString::fromUtf8(q.discrimination));
        EXPECT_EQ(section->texts(u"td"_s, u"biserial"_s).value(0), QString::fromUtf8(q.biserial));
        QStringList marked;
        for (const int n : q.marked)
            marked << u"%1 (%2,0\u00A0%)"_s.arg(n).arg(20 * n);
        EXPECT_EQ(section->texts(u"td"_s, u"marcada"_s), marked);
    }
    EXPECT_EQ(page->byId(u"pregunta-4"_s)->texts(u"li"_s, u"discrimina-al-reves"_s).size(), 1);

    // The histogram has a bar per bin; the box plots one box for the class and one per series.
    const auto charts = page->all([](const Node& n) {
        return n.name == u"svg" && n.namespaceUri == u"http://www.w3.org/2000/svg";
    });
    const auto histogram = page->all([](const Node& n) { return n.hasClass(u"histograma"_s); });
    ASSERT_EQ(histogram.size(), 1u);
    EXPECT_EQ(histogram.front()->all([](const Node& n) { return n.name == u"rect"; }).size(), 4u);
    EXPECT_EQ(page->all([](const Node& n) { return n.hasClass(u"caja"_s); }).size(), 2u);
    EXPECT_EQ(charts.size(), 2u + 4 * 3) << "two charts and a bar per answer";

    const auto column = [&](const QString& table, int cell) {
        QStringList names;
        for (const Node* tr :
             page->byId(table)->all([](const Node& n) { return n.name == u"tr"; })) {
            const QStringList cells = tr->texts(u"td"_s);
            if (!cells.isEmpty())
                names << cells.value(cell);
        }
        return names;
    };
    EXPECT_EQ(column(u"alumnos-por-nombre"_s, 1),
              (QStringList{u"álvaro"_s, u"Bea"_s, u"Carlos"_s, u"Eva"_s, u"Zoe"_s}));
    EXPECT_EQ(column(u"alumnos-por-nota"_s, 1),
              (QStringList{u"Zoe"_s, u"Bea"_s, u"álvaro"_s, u"Carlos"_s, u"Eva"_s}));
    EXPECT_EQ(column(u"alumnos-por-nota"_s, 3),
              (QStringList{u"4"_s, u"3"_s, u"2"_s, u"2"_s, u"1"_s}));
    EXPECT_EQ(page->texts(u"p"_s, u"vacio"_s).size(), 1) << "no file left out";

    const auto byName = report(c, {u"--orden"_s, u"nombre"_s});
    EXPECT_TRUE(byName->byId(u"alumnos-por-nombre"_s));
    EXPECT_FALSE(byName->byId(u"alumnos-por-nota"_s));
}

TEST(KxtReportHtml, HostileTextsStayTextAndThePageNeedsNothingFromElsewhere) {
    HandClass c;
    const QString odd = u"<script>alert(1)</script> & \x01\"x\""_s;
    c.student(u"x<&>.kxa"_s, odd, 1, {{1}, {1}, {1}, {1}}, odd);
    const auto page = report(c, {}, 1);
    ASSERT_TRUE(page);
    const QStringList left = page->byId(u"tabla-omitidos"_s)->texts(u"td"_s);
    ASSERT_EQ(left.size(), 2);
    EXPECT_TRUE(left[0].endsWith(u"x<&>.kxa"_s));
    EXPECT_TRUE(left[1].startsWith(u"es del examen \"<script>alert(1)</script> & \uFFFD"_s))
        << left[1].toStdString();

    const auto external = page->all([](const Node& n) {
        if (n.name == u"script" || n.name == u"link" || n.name == u"img" || n.name == u"iframe" ||
            n.name == u"object")
            return true;
        for (const auto& a : n.attributes)
            if (a.name().startsWith(u"on") ||
                ((a.name() == u"href" || a.name() == u"src") && !a.value().startsWith(u"#")))
                return true;
        return false;
    });
    EXPECT_TRUE(external.empty()) << external.front()->name.toStdString();
}
