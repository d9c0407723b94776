#include "RtfKeywords.h"

#include <string_view>
#include <unordered_map>

namespace glintbox::rtf {

namespace {

using Map = std::unordered_map<std::string_view, Keyword>;

Map buildMap()
{
    using K = Keyword;
    Map map = {

        {"ansi", K::Ansi},
        {"mac", K::Mac},
        {"pc", K::Pc},
        {"pca", K::Pca},
        {"ansicpg", K::AnsiCodePage},
        {"deff", K::DefaultFont},
        {"uc", K::UnicodeSkip},
        {"u", K::Unicode},
        {"bin", K::Binary},

        {"fonttbl", K::FontTable},
        {"colortbl", K::ColourTable},
        {"stylesheet", K::StyleSheet},
        {"pict", K::Picture},
        {"field", K::Field},
        {"fldinst", K::FieldInstruction},
        {"fldrslt", K::FieldResult},
        {"nonshppict", K::NonShapePicture},
        {"nesttableprops", K::NestedTableProperties},

        {"f", K::Font},
        {"fcharset", K::Charset},
        {"cpg", K::FontCodePage},
        {"red", K::Red},
        {"green", K::Green},
        {"blue", K::Blue},
        {"s", K::Style},
        {"cs", K::CharStyle},

        {"plain", K::Plain},
        {"b", K::Bold},
        {"i", K::Italic},
        {"ul", K::Underline},
        {"uldb", K::Underline},
        {"ulth", K::Underline},
        {"ulw", K::Underline},
        {"uld", K::UnderlineDotted},
        {"ulthd", K::UnderlineDotted},
        {"uldash", K::UnderlineDashed},
        {"ulthdash", K::UnderlineDashed},
        {"ulldash", K::UnderlineDashed},
        {"ulthldash", K::UnderlineDashed},
        {"uldashd", K::UnderlineDashDot},
        {"ulthdashd", K::UnderlineDashDot},
        {"uldashdd", K::UnderlineDashDotDot},
        {"ulthdashdd", K::UnderlineDashDotDot},
        {"ulwave", K::UnderlineWave},
        {"ulhwave", K::UnderlineWave},
        {"ululdbwave", K::UnderlineWave},
        {"ulnone", K::UnderlineNone},
        {"strike", K::Strike},
        {"striked", K::Strike},
        {"fs", K::FontSize},
        {"cf", K::Foreground},
        {"cb", K::Background},
        {"highlight", K::Background},
        {"chcbpat", K::Background},
        {"super", K::Superscript},
        {"sub", K::Subscript},
        {"nosupersub", K::NoSuperSub},
        {"up", K::Up},
        {"dn", K::Down},
        {"v", K::Hidden},

        {"par", K::Par},
        {"pard", K::Pard},
        {"line", K::Line},
        {"tab", K::Tab},
        {"page", K::Page},
        {"sect", K::Sect},
        {"ql", K::AlignLeft},
        {"qc", K::AlignCentre},
        {"qr", K::AlignRight},
        {"qj", K::AlignJustify},
        {"qd", K::AlignJustify},
        {"li", K::LeftIndent},
        {"lin", K::LeftIndent},
        {"ri", K::RightIndent},
        {"rin", K::RightIndent},
        {"fi", K::FirstIndent},
        {"sb", K::SpaceBefore},
        {"sa", K::SpaceAfter},
        {"sl", K::LineSpacing},
        {"slmult", K::LineMultiple},
        {"intbl", K::InTable},
        {"itap", K::NestingLevel},
        {"cell", K::Cell},
        {"row", K::Row},
        {"nestcell", K::NestedCell},
        {"nestrow", K::NestedRow},
        {"trowd", K::RowDefaults},
        {"cellx", K::CellEdge},
        {"trleft", K::RowLeft},

        {"emdash", K::EmDash},
        {"endash", K::EnDash},
        {"bullet", K::Bullet},
        {"lquote", K::LeftQuote},
        {"rquote", K::RightQuote},
        {"ldblquote", K::LeftDoubleQuote},
        {"rdblquote", K::RightDoubleQuote},
        {"emspace", K::EmSpace},
        {"enspace", K::EnSpace},
        {"qmspace", K::QuarterEmSpace},
        {"zwj", K::ZeroWidthJoiner},
        {"zwnj", K::ZeroWidthNonJoiner},
        {"ltrmark", K::LeftToRightMark},
        {"rtlmark", K::RightToLeftMark},

        {"pngblip", K::PngBlip},
        {"jpegblip", K::JpegBlip},
        {"wmetafile", K::WindowsMetafile},
        {"emfblip", K::EmfBlip},
        {"macpict", K::OtherPictureKind},
        {"pmmetafile", K::OtherPictureKind},
        {"dibitmap", K::OtherPictureKind},
        {"wbitmap", K::OtherPictureKind},
        {"picw", K::PictureWidth},
        {"pich", K::PictureHeight},
        {"picwgoal", K::PictureGoalWidth},
        {"pichgoal", K::PictureGoalHeight},
        {"picscalex", K::PictureScaleX},
        {"picscaley", K::PictureScaleY},
    };
    // Groups whose content is shown as if the group word were not there.
    for (const char *word :
         {"shppict", "pntext", "listtext", "object", "result", "shp", "shprslt", "upr"})
        map.emplace(word, K::Transparent);
    // Destinations that are not part of the shown text even without \*.
    for (const char *word : {"info",         "header",
                             "headerl",      "headerr",
                             "headerf",      "footer",
                             "footerl",      "footerr",
                             "footerf",      "footnote",
                             "annotation",   "atnid",
                             "atnauthor",    "atnicn",
                             "atnref",       "atndate",
                             "atntime",      "atrfstart",
                             "atrfend",      "ftnsep",
                             "ftnsepc",      "ftncn",
                             "aftnsep",      "aftnsepc",
                             "aftncn",       "xe",
                             "tc",           "txe",
                             "rxe",          "template",
                             "comment",      "title",
                             "subject",      "author",
                             "operator",     "keywords",
                             "doccomm",      "company",
                             "manager",      "category",
                             "hlinkbase",    "creatim",
                             "revtim",       "printim",
                             "buptim",       "filetbl",
                             "revtbl",       "rsidtbl",
                             "listtable",    "listoverridetable",
                             "pgdsctbl",     "latentstyles",
                             "themedata",    "colorschememapping",
                             "datastore",    "xmlnstbl",
                             "generator",    "userprops",
                             "docvar",       "private",
                             "objdata",      "objclass",
                             "objname",      "objalias",
                             "objsect",      "objtime",
                             "picprop",      "blipuid",
                             "do",           "falt",
                             "panose",       "fname",
                             "fontemb",      "fontfile",
                             "pn",           "pntxta",
                             "pntxtb",       "bkmkstart",
                             "bkmkend",

                             "nonesttables", "listpicture",
                             "ud",           "shpinst",
                             "sp",           "sn",
                             "sv",           "pgptbl",
                             "fchars",       "lchars",
                             "mmathPr",      "wgrffmtfilter",
                             "background"})
        map.emplace(word, K::SkippedDestination);
    return map;
}

} // namespace

Keyword keywordFor(QByteArrayView word)
{
    static const Map map = buildMap();
    const auto found = map.find(std::string_view(word.data(), size_t(word.size())));
    return found == map.end() ? Keyword::Unknown : found->second;
}

} // namespace glintbox::rtf
