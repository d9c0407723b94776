#include "CreditsPicture.h"

#include <QFont>
#include <QPainter>
#include <QPalette>
#include <QStringList>

namespace glintbox {

namespace {

struct CreditsGroup {
    QString heading;
    QStringList names;
};

const QList<CreditsGroup> &creditsGroups()
{
    static const QList<CreditsGroup> groups = {
        {QStringLiteral("Glintbox is built on"),
         {QStringLiteral("Qt"), QStringLiteral("Qt WebEngine and Chromium"),
          QStringLiteral("GStreamer"), QStringLiteral("FFmpeg"), QStringLiteral("Debian")}},
        {QStringLiteral("Its readers are tested with files from"),
         {QStringLiteral("Pillow"), QStringLiteral("BMP Suite"), QStringLiteral("libemf2svg"),
          QStringLiteral("rtf.js"), QStringLiteral("RTF Parser Kit"), QStringLiteral("striprtf"),
          QStringLiteral("pandoc"), QStringLiteral("Apache POI"), QStringLiteral("wmf2svg"),
          QStringLiteral("TwelveMonkeys"), QStringLiteral("image-rs"),
          QStringLiteral("libjpeg-turbo"), QStringLiteral("jsoup")}},
        {QStringLiteral("And thanks to you"), {QStringLiteral("for every bug you report")}},
    };
    return groups;
}

} // namespace

QPixmap drawCreditsPicture(const QSize &size, qreal devicePixelRatio, const QFont &font,
                           const QPalette &palette)
{
    struct Line {
        QString text;
        bool heading;
    };
    QList<Line> lines;
    for (const CreditsGroup &group : creditsGroups()) {
        if (!lines.isEmpty())
            lines.append({QString(), false});
        lines.append({group.heading, true});
        for (const QString &name : group.names)
            lines.append({name, false});
    }

    QPixmap picture(size * devicePixelRatio);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(palette.color(QPalette::Text));
    QFont headingFont = font;
    headingFont.setBold(true);
    const double lineHeight = double(size.height()) / lines.size();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        painter.setFont(lines[i].heading ? headingFont : font);
        const QRectF box(0, i * lineHeight, size.width(), lineHeight);
        painter.drawText(box, Qt::AlignCenter, lines[i].text);
    }
    return picture;
}

} // namespace glintbox
