#pragma once

#include "RtfReader.h"

namespace glintbox {

// Reading options that draw embedded WMF and EMF pictures with the metafile
// renderer; a picture it cannot read keeps the reader's placeholder box.
RtfReadOptions rtfReadOptionsWithMetafiles();

} // namespace glintbox
