#pragma once

#include <QJsonValue>
#include <QString>
#include <QStringList>

namespace kp::tools {

// A value of a build source together with its JSON path, so every complaint can say where the
// offending value is. Typed reads raise BuildError.
class JsonSource {
public:
    JsonSource(QJsonValue value, QString path) : value_(std::move(value)), path_(std::move(path)) {}

    const QString& path() const { return path_; }
    const QJsonValue& value() const { return value_; }
    bool isMissing() const { return value_.isUndefined() || value_.isNull(); }

    // A member of this object ("Preguntas[2].Imagen"); missing members read as undefined.
    JsonSource member(const QString& name) const;
    bool has(const QString& name) const { return !member(name).isMissing(); }
    // An element of this array ("Preguntas[2]").
    JsonSource at(qsizetype index) const;

    // Fails unless this is an object whose members are all among allowed.
    void requireObject(const QStringList& allowed) const;
    // Fails unless this is an array; its length.
    qsizetype arraySize() const;
    // A text that Windows-1252 can hold.
    QString string() const;
    bool boolean() const;
    qint64 integer(qint64 min, qint64 max) const;
    double number(double min, double max) const;

    [[noreturn]] void fail(const QString& message) const;

private:
    QJsonValue value_;
    QString path_;
};

} // namespace kp::tools
