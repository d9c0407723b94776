#pragma once

#include <QStringList>

class QWidget;

namespace glintbox {

// For the start-up benchmark: when the environment names
// GLINTBOX_QUIT_AFTER_FIRST_PAINT, the program prints the time of its
// window's first complete paint ("first paint: NS", the monotonic clock in
// nanoseconds, comparable across processes) and the costly parts that exist
// by then ("created: ..."), then quits. Otherwise it does nothing.
void quitAfterFirstPaintWhenAsked(QWidget &window);

// The costly parts start-up leaves until a file or a command needs them that
// exist now in the application's windows, by class: "QWebEngineView",
// "QMediaPlayer", "QDialog".
QStringList costlyPartsCreated();

} // namespace glintbox
