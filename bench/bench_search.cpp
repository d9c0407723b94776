// Searching a 20 MB text for a word near its end and reporting its line: the
// whole search command against QString::indexOf over the same text plus
// counting the line breaks before the find, with word wrap off and on; with
// wrapping on, also the longest event-loop stall while the line is worked out.

#include "Median.h"
#include "core/GlintboxState.h"
#include "core/Prompts.h"
#include "textops/search/TextSearch.h"
#include "viewing/display/DisplayHost.h"
#include "viewing/text/RichTextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

using namespace glintbox;

namespace {

constexpr qsizetype TextSize = 20 * 1000 * 1000;
const QString Word = QStringLiteral("needle");

// Prose-like lines of 60 to 100 characters, the word in one of the last lines.
QString text()
{
    QString text;
    text.reserve(TextSize);
    for (int line = 0; text.size() < TextSize - 200; ++line)
        text += QStringLiteral("line %1 of words that wrap ")
                    .arg(line)
                    .leftJustified(60 + line % 41, u'x') +
                u'\n';
    text += QStringLiteral("the %1 is here\n").arg(Word);
    return text;
}

// Answers the search's input box with the word and its first message with No.
class AnsweringPrompts : public Prompts {
public:
    QString lastMessage;
    PromptAnswer message(const QString &text, const QString &, PromptIcon, PromptButtons) override
    {
        lastMessage = text;
        return PromptAnswer::No;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override
    {
        return Word;
    }
};

double baselineMs(const QString &text)
{
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const qsizetype found = text.indexOf(Word, 0, Qt::CaseInsensitive);
        const qsizetype lines = QStringView(text).first(found).count(u'\n');
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (found < 0 || lines == 0)
            std::abort();
    }
    return median(times);
}

struct SearchTiming {
    double ms = 0;
    // Up to the first tick: taking the text and finding the word, which run
    // at once; after it: working out the line.
    qint64 findStallMs = 0;
    qint64 lineStallMs = 0;
    QString message;
};

SearchTiming timeSearch(TextSearch &search, AnsweringPrompts &prompts)
{
    // The gaps between ticks of a 5 ms timer while the command runs.
    QElapsedTimer clock;
    qint64 lastTick = -1;
    SearchTiming timing;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick < 0)
            timing.findStallMs = std::max(timing.findStallMs, now);
        else
            timing.lineStallMs = std::max(timing.lineStallMs, now - lastTick);
        lastTick = now;
    });
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        QCoreApplication::processEvents();
        clock.start();
        lastTick = -1;
        ticker.start();
        search.mnuSearch_Click();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        ticker.stop();
        if (lastTick >= 0)
            timing.lineStallMs = std::max(timing.lineStallMs, clock.elapsed() - lastTick);
        else
            timing.findStallMs = std::max(timing.findStallMs, clock.elapsed());
    }
    timing.ms = median(times);
    timing.message = prompts.lastMessage;
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QString content = text();
    RichTextBox box;
    box.resize(800, 600);
    box.show();
    box.setText(content);
    box.finishLoading();

    GlintboxState state;
    AnsweringPrompts prompts;
    TextSearch search(state, box, prompts);
    // As the file display hands the text over.
    search.textShown({QString(), false, {}, true, content});

    std::printf("text: %.1f MB, the word in its last line\n", double(content.size()) / 1e6);
    // At 800 pixels every line fits the box; at 400 most wrap and are laid out.
    for (const auto &[wrap, width] : {std::pair{false, 800}, {true, 800}, {true, 400}}) {
        box.setRightMargin(wrap ? 0 : RichTextBox::NoWrapMargin);
        box.resize(width, 600);
        QCoreApplication::processEvents();
        const double baseline = baselineMs(content);
        const SearchTiming timing = timeSearch(search, prompts);
        std::printf("word wrap %s, box %d pixels wide:\n", wrap ? "on" : "off", width);
        std::printf("  baseline indexOf + line breaks: %8.1f ms\n", baseline);
        std::printf("  search command:                 %8.1f ms  ratio %.2f%s\n", timing.ms,
                    timing.ms / baseline, wrap ? "" : " (aim <= 2)");
        if (wrap)
            std::printf("  longest stall, line:            %8lld ms  (5 ms timer; aim <= 100 ms)\n",
                        timing.lineStallMs);
        std::printf("  stall taking the text and finding: %5lld ms\n", timing.findStallMs);
        std::printf("  reported: %s\n", qPrintable(timing.message.section(u'\n', 0, 0)));
    }
    return 0;
}
