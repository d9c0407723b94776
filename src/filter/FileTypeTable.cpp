#include "FileTypeTable.h"

namespace glintbox {

using G = FileTypeGroup;

const std::array<FileType, FileTypeCount> FileTypes = {{
    {"TXT", "chkTXT", "*.txt", "Text Files", G::Text, ";*.txt"},
    {"HTM", "chkHTM", "*.htm/html", "Hyper Text Markup Language Files", G::Text, ";*.htm;*.html"},
    {"BMP", "chkBMP", "*.bmp", "Bitmap Files", G::Image, ";*.bmp"},
    {"WMF", "chkWMF", "*.wmf", "Word MetaFiles", G::Image, ";*.wmf"},
    {"ICO", "chkICO", "*.ico", "Icons", G::Image, ";*.ico"},
    {"INI", "chkINI", "*.ini", "Initialisation Files", G::Text, ";*.ini"},
    {"INF", "chkINF", "*.inf", "Information Files", G::Text, ";*.inf"},
    {"RTF", "chkRTF", "*.rtf", "Rich Text Format Files", G::Text, ";*.rtf"},
    {"CUR", "chkCUR", "*.cur", "Cursors", G::Image, ";*.cur"},
    {"GIF", "chkGIF", "*.gif", "Graphics Interchange Format Files", G::Image, ";*.gif"},
    {"JPG", "chkJPG", "*.jpg", "Joint Photographic Experts Group Files", G::Image, ";*.jpg"},
    {"BAT", "chkBAT", "*.bat", "Batch Files", G::Text, ";*.bat"},
    {"SYS", "chkSYS", "*.sys", "System Files", G::Text, ";*.sys"},
    {"EMF", "chkEMF", "*.emf", "Enhanced Metafiles", G::Image, ";*.emf"},
    {"LOG", "chkLOG", "*.log", "Log Files", G::Text, ";*.log"},
    {"JIF", "chkJIF", "*.jif", "JFIF Compliant Images", G::Image, ";*.jif"},
    {"AVI", "chkAVI", "*.avi", "Audio Video Interleaved Files", G::Multimedia, ";*.avi"},
    {"MPG", "chkMPG", "*.mpg", "Movie Picture Group Files", G::Multimedia, ";*.mpg"},
    {"MPE", "chkMPE", "*.mpeg", "Movie Picture Experts Group Files", G::Multimedia, ";*.mpe"},
    {"MOV", "chkMOV", "*.mov", "Quick Time Movie Files", G::Multimedia, ";*.mov"},
    {"WAV", "chkWAV", "*.wav", "Waveform Files", G::Multimedia, ";*.wav"},
    {"MID", "chkMID", "*.mid", "Musical Instrument Digital Interface (MIDI) sequencer Files",
     G::Multimedia, ";*.mid"},
    {"QT", "chkQT", "*.qt", "Quick Time Files", G::Multimedia, ";*.qt"},
    {"RMI", "chkRMI", "*.rmi", "Sound Files", G::Multimedia, ";*.rmi"},
    {"FRM", "chkFRM", "*.frm", "Visual Basic Form Files", G::Text, ";*.frm"},
    {"BAS", "chkBAS", "*.bas", "Visual Basic Basic Files", G::Text, ";*.bas"},
    {"VBP", "chkVBP", "*.vbp", "Visual Basic Project Files", G::Text, ";*.vbp"},
    {"LST", "chkLST", "*.lst", "List Files", G::Text, ";*.lst"},
    {"DIB", "chkDIB", "*.dib", "DIB Files", G::Image, ";*.dib"},
    {"EXE", "chkEXE", "*.exe", "Program File", G::Applications, ";*.exe"},
    {"COM", "chkCOM", "*.com", "Program File", G::Applications, ";*.com"},
    {"NFO", "chkNFO", "*.nfo", "Information Files", G::Text, ";*.nfo"},
}};

const char *const AllPattern =
    "*.cur;*.gif;*.jpg;*.bat;*.sys;*.txt;*.wmf;*.emf;*.ico;*.bmp;*.htm;*.html;*.ini;*.inf;*.rtf;"
    "*.avi;*.mpg;*.mpe;*.mov;*.wav;*.log;*.jif;*.mid;*.qt;*.rmi;*.frm;*.bas;*.vbp;*.lst;*.dib;"
    "*.exe;*.com;*.nfo";
const char *const AnyPattern = "*.*";
const char *const PlaceholderPattern = "*.ZZZ";

const std::array<FilterEntryInfo, 6> FilterHeadEntries = {{
    {"ALL", "ChkAll", "ALL File Types Listed Below", "ALL File Types Listed Below", AllPattern},
    {"ANY", "ChkAny", "ALL Files",
     "ALL Files - NOTE : Any Unknown File Type Will Be Launched Through The Text Viewer - Errors "
     "CAN Occur Frequently",
     AnyPattern},
    {"TEXT", "ChkText", "Text", "ALL Text Files",
     "*.bat;*.sys;*.txt;*.htm;*.html;*.ini;*.inf;*.rtf;*.log;*.frm;*.bas;*.vbp;*.lst;*.nfo"},
    {"IMAG", "ChkImag", "Image", "ALL Image Files",
     "*.cur;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.bmp;*.jif;*.dib"},
    {"MULT", "ChkMult", "Multimedia", "ALL Multimedia Files",
     "*.avi;*.mpg;*.mpe;*.mov;*.wav;*.mid;*.qt;*.rmi"},
    {"APPL", "ChkAppl", "Applications", "ALL Application Files", "*.exe;*.com"},
}};

const FilterEntryInfo &groupEntry(FileTypeGroup group)
{
    return FilterHeadEntries[2 + int(group)];
}

using namespace FileTypeIndex;

const std::array<int, FileTypeCount> FileTypeAppendOrder = {
    TXT, HTM, BMP, WMF, ICO, INI, RTF, INF, CUR, GIF, JPG, BAT, SYS, EMF, LOG, JIF,
    AVI, MPG, MPE, MOV, WAV, MID, QT,  RMI, FRM, BAS, VBP, LST, DIB, EXE, COM, NFO,
};

namespace {
constexpr int TextFirstColumn[] = {TXT, RTF, HTM, INF, INI, BAT, NFO};
constexpr int TextSecondColumn[] = {SYS, LOG, FRM, BAS, VBP, LST};
constexpr int ImageFirstColumn[] = {BMP, WMF, EMF, ICO, DIB};
constexpr int ImageSecondColumn[] = {CUR, GIF, JPG, JIF};
constexpr int MultimediaColumn[] = {AVI, MPG, MPE, MOV, WAV, MID, QT, RMI};
constexpr int ApplicationsColumn[] = {EXE, COM};
} // namespace

const std::array<FilterColumn, 6> FilterColumns = {{
    {G::Text, TextFirstColumn},
    {G::Text, TextSecondColumn},
    {G::Image, ImageFirstColumn},
    {G::Image, ImageSecondColumn},
    {G::Multimedia, MultimediaColumn},
    {G::Applications, ApplicationsColumn},
}};

QString filterKey(int entryIndex)
{
    if (entryIndex < int(FilterHeadEntries.size()))
        return QString::fromLatin1(FilterHeadEntries[entryIndex].key);
    return QString::fromLatin1(FileTypes[entryIndex - FilterHeadEntries.size()].key);
}

int filterEntryIndex(QStringView key)
{
    for (int entry = 0; entry < FilterEntryCount; ++entry) {
        if (filterKey(entry) == key)
            return entry;
    }
    return -1;
}

} // namespace glintbox
