# What changed in each version, newest first; blocks and marks as in help.py.
TITLE = "Glintbox Updates"
SUBTITLE = "What changed in each version of Glintbox, newest first"

SECTIONS = [
("v200", "Version 2.00", [
("p", "The first version of Glintbox for Linux. It brings the whole viewer to the Linux "
      "desktop:"),
("ul", [
 "Drives are the mounted file systems: the root file system first, then removable media, "
 "other disks and network shares, each shown by its mount point and volume label. Paths use "
 "`/` between folders, and file names are kept exactly as the file system gives them.",
 "Four view modes chosen from the last three characters of the file name: Text, Image, "
 "Movie and Application Launcher, each with only the commands that suit it.",
 "Text files in UTF-8 or Western European (Windows-1252) text; large files show their first "
 "screen at once.",
 "Rich-text documents (.rtf) shown formatted, with fonts, colours, tables and pictures, read "
 "by Glintbox's own rich-text reader.",
 "Windows metafiles and enhanced metafiles (.wmf, .emf) drawn as vector pictures by "
 "Glintbox's own metafile reader, also inside rich-text documents.",
 "Pictures zoom from 25% to 1000% without slowing down on large photos.",
 "Web pages shown in an embedded browser that stays offline unless Web Browser ACTIVE is "
 "checked, and keeps nothing on disk.",
 "Movies and sounds, MIDI music included, played through the system's GStreamer media "
 "framework.",
 "Programs started from the launcher: Windows programs through Wine when it is installed, "
 "other program files directly.",
 "Settings kept per user in `~/.config/Glintbox/Glintbox.conf`.",
 "File Filtering, Maximum File Size with its ten-cell size gauge, Find File, text editing "
 "and saving, Create New File, Delete File, Search Text, Print File, Font Options and "
 "Background Colours.",
 "The Help window with this list and the help, as text and as web pages, always offline; "
 "the About and Bug Busters windows.",
 "Glintbox is free software under the GNU General Public License, version 3 or later.",
]),
]),
]
