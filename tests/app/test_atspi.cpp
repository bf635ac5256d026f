// The accessibility guard's two decisions: which Properties requests Qt's bridge must not see,
// and what a GetAll answers for an object, from the objects' paths on the bus.
#include "Rows.h"
#include "app/AtSpiGuard.h"
#include "app/AtSpiProperties.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusMessage>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace kp;

namespace {

struct Request {
    const char* name;
    QString interface;
    QString member;
    QVariantList arguments;
    bool guarded;
};

class PropertiesRequest : public ::testing::TestWithParam<Request> {};

const QString Properties = u"org.freedesktop.DBus.Properties"_s;
const QString Accessible = u"org.a11y.atspi.Accessible"_s;

TEST_P(PropertiesRequest, ShortOnesAndGetAllAreKeptFromTheBridge) {
    const Request& r = GetParam();
    QDBusMessage m = QDBusMessage::createMethodCall(u":1.1"_s, u"/org/a11y/atspi/accessible/root"_s,
                                                    r.interface, r.member);
    m.setArguments(r.arguments);
    EXPECT_EQ(AtSpiGuard::needsGuard(m), r.guarded);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, PropertiesRequest,
    ::testing::Values(Request{"GetAll", Properties, u"GetAll"_s, {Accessible}, true},
                      Request{"GetAllWithoutInterface", Properties, u"GetAll"_s, {}, true},
                      Request{"Get", Properties, u"Get"_s, {Accessible, u"Name"_s}, false},
                      Request{"GetWithoutName", Properties, u"Get"_s, {Accessible}, true},
                      Request{"Set", Properties, u"Set"_s, {Accessible, u"Name"_s, u"x"_s}, false},
                      Request{
                          "SetWithoutValue", Properties, u"Set"_s, {Accessible, u"Name"_s}, true},
                      Request{"OtherInterface", Accessible, u"GetChildren"_s, {}, false}),
    kp::test::RowName());

QAccessibleInterface* of(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

// Paths name objects both ways; the answer holds what each property gives when asked alone.
TEST(AtSpiProperties, GetAllAnswersFromTheObjectAtThePath) {
    QWidget window;
    auto* button = new QPushButton(u"Empezar"_s, &window);
    button->setAccessibleDescription(u"empieza"_s);
    auto* slider = new QSlider(Qt::Vertical, &window);
    slider->setRange(0, 40);
    slider->setValue(10);
    window.show();

    const QString path = AtSpiProperties::pathOf(of(button));
    EXPECT_EQ(AtSpiProperties::objectAt(path), of(button));
    EXPECT_EQ(AtSpiProperties::pathOf(of(qApp)), u"/org/a11y/atspi/accessible/root"_s);
    EXPECT_EQ(AtSpiProperties::objectAt(u"/org/a11y/atspi/accessible/root"_s), of(qApp));
    for (const QString& nothing : {u"/org/a11y/atspi/accessible/12x"_s, u"/otra/1"_s,
                                   u"/org/a11y/atspi/accessible/4294967295"_s})
        EXPECT_FALSE(AtSpiProperties::all(nothing, Accessible, u":1.1"_s)) << nothing.toStdString();

    const auto props = AtSpiProperties::all(path, Accessible, u":1.1"_s);
    ASSERT_TRUE(props);
    EXPECT_EQ(props->value(u"Name"_s).toString(), u"Empezar"_s);
    EXPECT_EQ(props->value(u"Description"_s).toString(), u"empieza"_s);
    EXPECT_EQ(props->value(u"ChildCount"_s).toInt(), 0);
    EXPECT_TRUE(props->contains(u"Parent"_s));
    EXPECT_EQ(AtSpiProperties::all(u"/org/a11y/atspi/accessible/root"_s, Accessible, u":1.1"_s)
                  ->value(u"ChildCount"_s)
                  .toInt(),
              of(qApp)->childCount());

    const auto value =
        AtSpiProperties::all(AtSpiProperties::pathOf(of(slider)), u"org.a11y.atspi.Value"_s, {});
    EXPECT_EQ(value->value(u"CurrentValue"_s).toDouble(), 10);
    EXPECT_EQ(value->value(u"MaximumValue"_s).toDouble(), 40);
    EXPECT_EQ(AtSpiProperties::all(path, u"org.a11y.atspi.Value"_s, {})->size(), 0);
    EXPECT_EQ(
        AtSpiProperties::all(path, u"org.a11y.atspi.Action"_s, {})->value(u"NActions"_s).toInt(),
        of(button)->actionInterface()->actionNames().size());
    const auto app = AtSpiProperties::all(u"/org/a11y/atspi/accessible/root"_s,
                                          u"org.a11y.atspi.Application"_s, {});
    EXPECT_EQ(app->value(u"ToolkitName"_s).toString(), u"Qt"_s);
}

} // namespace
