#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace kp::fuzz {

// One input a fuzz target starts from, made by our own code.
struct Seed {
    QString target; // a fuzz target's name
    QString name;   // a file name for it
    QByteArray bytes;
};

// The seeds of every target, made from the sample exam's description and pictures in
// examplesDir (as kxt build makes it), from exams built in memory and written by our writer,
// from results files our writer makes of runs on them, and from the sample's RTF texts.
std::vector<Seed> makeSeeds(const QString& examplesDir);

} // namespace kp::fuzz
