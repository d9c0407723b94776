#include "RtfReader.h"

#include "RtfParser.h"

namespace glintbox {

RtfReadResult readRtf(const QByteArray &bytes, const RtfReadOptions &options)
{
    RtfReadResult result;
    result.document = std::make_unique<QTextDocument>();
    result.document->setUndoRedoEnabled(false);
    rtf::RtfParser parser(bytes, options, result.document.get());
    result.warnings = parser.run();
    return result;
}

} // namespace glintbox
