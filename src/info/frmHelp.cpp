#include "frmHelp.h"

#include "HelpLayout.h"
#include "core/ErrorTrap.h"
#include "core/FileSystem.h"
#include "core/FontChoice.h"
#include "core/Paths.h"
#include "core/Prompts.h"
#include "core/RunTimeError.h"
#include "core/TextDecoding.h"
#include "core/Twips.h"
#include "viewing/text/RichTextBox.h"
#include "viewing/web/WebBrowserView.h"

#include <QEvent>
#include <QFrame>
#include <QTabWidget>
#include <QWindowStateChangeEvent>

namespace glintbox {

namespace {

// Opens at a size that shows a screenful of help; the user may change it.
constexpr double InitialWidthTwips = 10500;
constexpr double InitialHeightTwips = 7500;

bool isNotFound(const RunTimeError &error)
{
    return error.number() == FileNotFound || error.number() == PathNotFound;
}

} // namespace

QWidget *frmHelp::Page::content() const
{
    return text ? static_cast<QWidget *>(text) : static_cast<QWidget *>(web);
}

frmHelp::frmHelp(const QString &helpFolder, Prompts &prompts, FileSystem &fs, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_helpFolder(helpFolder)
    , m_prompts(prompts)
    , m_fs(fs)
    , m_TabStrip1(new QTabWidget(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(HelpCaption);
    m_TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    // The frames lie over the tab strip where the layout puts them; its own
    // pages stay empty.
    for (const HelpTab &tab : HelpTabs)
        m_TabStrip1->addTab(new QWidget, QString::fromLatin1(tab.caption));

    // "Fixedsys" resolves to the system's fixed-width font.
    const QFont fixedWidth = FontChoice{QStringLiteral("Fixedsys"), 10}.toFont();
    int textIndex = 0;
    int webIndex = 0;
    for (size_t i = 0; i < HelpTabs.size(); ++i) {
        Page &page = m_pages[i];
        page.frame = new QFrame(this);
        page.frame->setObjectName(QStringLiteral("Frame%1").arg(i + 1));
        page.frame->hide();
        if (HelpTabs[i].view == HelpView::Text) {
            page.text = new RichTextBox(page.frame);
            page.text->setObjectName(QStringLiteral("RichTextBox%1").arg(++textIndex));
            page.text->setTextFont(fixedWidth);
        } else {
            page.web = new WebBrowserView(page.frame);
            page.web->setObjectName(QStringLiteral("WebBrowser%1").arg(++webIndex));
        }
    }
    const double dpi = logicalDpiOf(*this);
    resize(twipsToPixels(InitialWidthTwips, dpi), twipsToPixels(InitialHeightTwips, dpi));
    connect(m_TabStrip1, &QTabWidget::currentChanged, this, [this] { ShowHelpTab(); });
}

frmHelp::~frmHelp() = default;

void frmHelp::Form_Load()
{
    ShowHelpTab();
}

void frmHelp::ShowHelpTab()
{
    runTrapped(m_prompts, [this] {
        const int selected = m_TabStrip1->currentIndex();
        for (size_t i = 0; i < m_pages.size(); ++i)
            m_pages[i].frame->setVisible(int(i) == selected);
        const Page &page = m_pages[selected];
        const QString path = fullPath(m_helpFolder, QString::fromUtf8(HelpTabs[selected].fileName));
        if (page.text) {
            showTextFile(*page.text, path);
        } else {
            page.web->setOffline(true);
            page.web->navigate(path);
        }
    });
}

void frmHelp::showTextFile(RichTextBox &box, const QString &path)
{
    QString text;
    try {
        text = decodeText(m_fs.readAll(path));
    } catch (const RunTimeError &error) {
        if (!isNotFound(error))
            throw;
        // The view keeps what it showed.
        m_prompts.message(MissingHelpFilesMessage, HelpCaption, PromptIcon::Information);
        return;
    }
    box.setText(text);
}

void frmHelp::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmHelp::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A restore keeps the size, so no resize event comes.
    if (event->type() == QEvent::WindowStateChange &&
        (static_cast<QWindowStateChangeEvent *>(event)->oldState() & Qt::WindowMinimized))
        Form_Resize();
}

void frmHelp::Form_Resize()
{
    runTrapped(m_prompts, [this] {
        if (isMinimized())
            return;
        const double dpi = logicalDpiOf(*this);
        const QSize outer = frameGeometry().size();
        const QSizeF allowed = withHelpMinimumSize(
            QSizeF(pixelsToTwips(outer.width(), dpi), pixelsToTwips(outer.height(), dpi)));
        const QSize allowedPixels(twipsToPixelsAtLeast(allowed.width(), dpi),
                                  twipsToPixelsAtLeast(allowed.height(), dpi));
        if (allowedPixels != outer)
            resize(allowedPixels - (outer - size()));

        // The rule is written for the designed window; laid out for the one
        // whose client area is ours, the tab strip fills it whatever the frame.
        const HelpLayout layout =
            computeHelpLayout(pixelsToTwips(width(), dpi) + HelpNonClientWidth,
                              pixelsToTwips(height(), dpi) + HelpNonClientHeight);
        m_TabStrip1->setGeometry(twipsToPixels(layout.TabStrip1, dpi));
        for (const Page &page : m_pages) {
            page.frame->setGeometry(twipsToPixels(layout.frame, dpi));
            page.content()->setGeometry(twipsToPixels(layout.content, dpi));
        }
    });
}

} // namespace glintbox
