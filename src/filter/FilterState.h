#pragma once

#include "filter/FilterModel.h"

namespace glintbox {

// The main window's share of the file filter: the confirmed model and the
// flag that tells the dialog's close request that the confirm operation asked
// for the closing.
struct FilterState {
    FilterModel model;
    bool closingFlag = false;
};

} // namespace glintbox
