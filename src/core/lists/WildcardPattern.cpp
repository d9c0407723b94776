#include "WildcardPattern.h"

namespace glintbox {

WildcardPattern::WildcardPattern(const QString &pattern)
    : m_text(pattern)
{
    const QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString folded = part.trimmed().toCaseFolded();
        const QStringView extension = QStringView(folded).mid(2);
        if (folded == u"*.*" || folded == u"*")
            m_matchesEverything = true;
        else if (folded.startsWith(u"*.") && !extension.isEmpty() && !extension.contains(u'*') &&
                 !extension.contains(u'?') && !extension.contains(u'.'))
            m_extensions.insert(extension.toString());
        else
            m_globs.append(folded);
    }
}

bool WildcardPattern::matchOne(QStringView pattern, QStringView name)
{
    // Iterative glob with one backtrack point: linear in practice, never
    // exponential on hostile names.
    qsizetype p = 0, n = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool WildcardPattern::matches(QStringView name) const
{
    if (m_matchesEverything)
        return true;
    const QString folded = name.toString().toCaseFolded();
    const qsizetype dot = folded.lastIndexOf(u'.');
    if (dot >= 0) {
        const QString extension = folded.mid(dot + 1);
        if (m_extensions.contains(extension))
            return true;
        // The short form keeps three letters of a longer extension.
        if (extension.size() > 3 && m_extensions.contains(extension.left(3)))
            return true;
    }
    for (const QString &glob : m_globs) {
        if (matchOne(glob, folded))
            return true;
        if (dot >= 0 && folded.size() - dot - 1 > 3 && matchOne(glob, folded.left(dot + 4)))
            return true;
    }
    return false;
}

} // namespace glintbox
