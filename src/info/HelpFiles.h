#pragma once

#include <QString>
#include <array>

namespace glintbox {

// The four help files that lie beside the program, one per tab of the Help
// window, in tab order.
enum class HelpView { Text, WebPage };

struct HelpTab {
    const char *caption;
    const char *fileName;
    HelpView view;
};

inline constexpr std::array<HelpTab, 4> HelpTabs = {{
    {"Text Help File", "Glintbox Help.txt", HelpView::Text},
    {"HTML Help File", "Glintbox Help.html", HelpView::WebPage},
    {"Updates Text File", "Glintbox Updates.txt", HelpView::Text},
    {"HTML Updates File", "Glintbox Updates.html", HelpView::WebPage},
}};

inline const QString HelpCaption = QStringLiteral("Glintbox - Help");
inline const QString MissingHelpFilesMessage =
    QStringLiteral("Sorry, but it has not been possible to find some or all of the help files!\n"
                   "Please make sure these files are in the same directory as glintbox.");

} // namespace glintbox
