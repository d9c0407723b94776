#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace glintbox {

// A file list pattern: wildcards joined by ";" ("*" any run, "?" any one
// character), matched without regard to case. As on the desktop this viewer
// grew up on, "*.*" lists every file, names without a dot too, and an
// extension pattern of three letters also matches longer extensions that begin
// with them through their short form ("*.mpe" lists "film.mpeg").
class WildcardPattern {
public:
    explicit WildcardPattern(const QString &pattern = QStringLiteral("*.*"));

    QString text() const { return m_text; }
    bool matches(QStringView name) const;

private:
    static bool matchOne(QStringView pattern, QStringView name);
    QString m_text;
    bool m_matchesEverything = false;
    // "*.ext" parts, the common case, as a set of extensions; the rest as globs.
    QSet<QString> m_extensions;
    QStringList m_globs;
};

} // namespace glintbox
