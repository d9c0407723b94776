#include "RtfFieldInstruction.h"

#include <QStringList>

namespace glintbox::rtf {

namespace {

// Splits an instruction into words; quoted words keep their blanks and lose their quotes.
QStringList instructionWords(const QString &instruction)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : instruction) {
        if (c == u'"') {
            if (quoted)
                words << word, word.clear(), inWord = false;
            quoted = !quoted;
            continue;
        }
        if (!quoted && c.isSpace()) {
            if (inWord)
                words << word, word.clear(), inWord = false;
            continue;
        }
        word += c;
        inWord = true;
    }
    if (inWord || quoted)
        words << word;
    return words;
}

} // namespace

QString hyperlinkTarget(const QString &instruction)
{
    const QStringList words = instructionWords(instruction);
    if (words.isEmpty() || words.first().compare(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    QString target;
    QString mark;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word.startsWith(u'\\')) {
            // Switches \l, \m, \n, \o and \t; only \l (a place in the document) names a target.
            if (word == QLatin1String("\\l") && i + 1 < words.size())
                mark = words.at(i + 1);
            if (word != QLatin1String("\\m") && word != QLatin1String("\\n"))
                ++i;
            continue;
        }
        if (target.isEmpty())
            target = word;
    }
    if (!mark.isEmpty())
        target += u'#' + mark;
    return target;
}

} // namespace glintbox::rtf
