#pragma once

#include "RtfContent.h"

#include <QImage>
#include <QStringList>
#include <QTextCursor>

#include <vector>

class QTextDocument;

namespace glintbox::rtf {

// Tables nested deeper than this keep their text in the deepest table.
constexpr int MaxTableDepth = 16;

// Assembles paragraphs, tables (nested ones too) and pictures into a QTextDocument. Table rows
// are gathered until the table ends, because RTF states a table's shape only row by row.
class RtfDocumentBuilder {
public:
    explicit RtfDocumentBuilder(QTextDocument *document);

    // depth: how deep in tables the paragraph lies; 0 outside them.
    void addParagraph(RtfParagraph &&paragraph, int depth);
    void endCell(int depth);
    void endRow(const RtfRowDefinition &definition, int depth);
    // Footnotes go after the text, below a short rule.
    void addNotes(std::vector<RtfParagraph> &&notes);
    void setDefaultTabStop(double pixels);
    void finish();

    // Registers a picture with the document and returns the name to refer to it by.
    QString addImage(const QImage &image);
    // One shared small box stands for every picture that cannot be shown.
    QString placeholderImage();

    const QStringList &warnings() const { return m_warnings; }

private:
    // The table being gathered at one depth: its rows, the row and the cell under way.
    struct Level {
        RtfTable table;
        RtfRow row;
        RtfCell cell;
    };

    Level &levelAt(int depth);
    void closeLevelsBelow(int depth);

    QTextDocument *m_document;
    QTextCursor m_cursor;
    bool m_blockFresh = true;    // the cursor's block is empty and still unused
    std::vector<Level> m_levels; // m_levels[0] is the outermost table
    int m_imageCount = 0;
    bool m_placeholderAdded = false;
    QStringList m_warnings;
};

} // namespace glintbox::rtf
