#include "ViewMode.h"

#include <span>

namespace glintbox {

namespace {

constexpr const char *movieTails[] = {"avi", "mpg", "mov", "peg", "wav", "mid", ".qt", "rmi"};
constexpr const char *launcherTails[] = {"exe", "com"};
constexpr const char *imageTails[] = {"bmp", "wmf", "emf", "ico", "cur",
                                      "gif", "jpg", "jif", "dib"};
constexpr const char *htmlTails[] = {"htm", "tml"};
constexpr const char *richTextTails[] = {"rtf"};

bool tailIsOneOf(const QString &fileExt, std::span<const char *const> tails)
{
    const QString lower = fileExt.toLower();
    for (const char *tail : tails) {
        if (lower == QLatin1String(tail))
            return true;
    }
    return false;
}

} // namespace

QString fileExtOf(const QString &fileName)
{
    return fileName.right(3);
}

ViewMode classifyViewMode(const QString &fileExt)
{
    // The movie list is tested first so that "jpeg" (tail "peg") plays as a
    // movie rather than showing as a picture.
    if (tailIsOneOf(fileExt, movieTails))
        return ViewMode::Movie;
    if (tailIsOneOf(fileExt, launcherTails))
        return ViewMode::Launcher;
    if (tailIsOneOf(fileExt, imageTails))
        return ViewMode::Image;
    return ViewMode::Text;
}

bool isRichTextExt(const QString &fileExt)
{
    return tailIsOneOf(fileExt, richTextTails);
}

bool isHtmlExt(const QString &fileExt)
{
    return tailIsOneOf(fileExt, htmlTails);
}

} // namespace glintbox
