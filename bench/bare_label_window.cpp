// The baseline of the start-up benchmark: the least a Qt program does before
// its first paint, one window with one label.
#include "core/FirstPaintProbe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("A label"));
    label.resize(600, 433);
    glintbox::quitAfterFirstPaintWhenAsked(label);
    label.show();
    return app.exec();
}
