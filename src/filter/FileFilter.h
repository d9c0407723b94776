#pragma once

#include "filter/FileTypeTable.h"
#include "filter/FilterState.h"

#include <array>

namespace glintbox {

class FilterHost;

// The main window's file filter: owns the confirmed filter model and the
// closing flag, and runs the File Filtering dialog for the menu and start-up.
class FileFilter {
public:
    explicit FileFilter(FilterHost &host);

    const FilterModel &model() const { return m_state.model; }
    bool closingFlag() const { return m_state.closingFlag; }
    void clearClosingFlag() { m_state.closingFlag = false; }

    // The File Filtering command: the dialog opens with the model's ticks and,
    // once it is closed, the first file of the new list is shown.
    void mnuFilter_Click();

    // Builds the first pattern and the model from the stored entries (key
    // order) through a hidden dialog, so the check rules repair any stored
    // combination that contradicts itself.
    void restoreAtStartup(const std::array<int, FilterEntryCount> &stored);

private:
    FilterHost &m_host;
    FilterState m_state;
};

} // namespace glintbox
