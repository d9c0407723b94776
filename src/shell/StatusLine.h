#pragma once

#include <QLabel>

namespace glintbox {

// The status line: plain text on one line. When the line is wider than the
// label, the file name gives way in its middle, so that size and date stay
// in sight; the whole line is the tool tip and stays the label's text.
class StatusLine : public QLabel {
public:
    explicit StatusLine(QWidget *parent);

    // The line and the file name within it.
    void setLine(const QString &line, const QString &fileName);
    // The line as it fits the label's width.
    QString shownLine() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_fileName;
};

} // namespace glintbox
