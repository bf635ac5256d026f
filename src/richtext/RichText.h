#pragma once

#include "richtext/RtfLimits.h"

#include <QColor>
#include <QString>
#include <QTextDocument>

namespace kp::rtf {

// True when text is rich text, which is how the Windows rich-text control tells: it starts
// with "{\rtf".
bool isRtf(QStringView text);

// Replaces doc's content with what the RTF text shows. Bad input yields whatever could be read
// (possibly nothing); it never throws, and the limits bound time and memory.
void readRtf(QStringView text, QTextDocument& doc, const RtfLimits& limits = {});

// The content of a question or answer box: RTF through the reader, anything else exactly as
// written, with no markup of any kind interpreted.
void setRichContent(QTextDocument& doc, const QString& text, const RtfLimits& limits = {});

// The exam page's rule for every text box: the exam's text colour and 10 points over the whole
// text, merged so that bold, italics, fonts, highlights and the rest survive.
void applyPageFormat(QTextDocument& doc, const QColor& color);

} // namespace kp::rtf
