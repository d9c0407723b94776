#pragma once

#include <QString>

namespace glintbox::rtf {

// The link target of a HYPERLINK field instruction ("HYPERLINK \"url\" \\l \"mark\""),
// or an empty string for any other field.
QString hyperlinkTarget(const QString &instruction);

} // namespace glintbox::rtf
