# The Glintbox help: what the program does and how, for the people who use it.
# Blocks: ("p", text), ("h3", text), ("ul", [items]), ("dl", [(term, text)]),
# ("table", [headings], [rows]). Marks: {Caption}, <<Keys>>, `shown text`.

TITLE = "Glintbox Help"
SUBTITLE = "Glintbox version 2.00, a file viewer for Linux"

SECTIONS = [
("what", "What Glintbox is", [
("p", "Glintbox is a fast file viewer. One window shows your drives, the folders of the chosen "
      "drive and the files of the chosen folder beside a viewer. Select a file and Glintbox "
      "shows it at once in the view that suits it: plain or formatted text, a web page, a "
      "picture that you can zoom from 25% to 1000%, a movie or a sound, or a launcher for "
      "programs. Move through the files with the arrow keys and each one is shown as you reach "
      "it."),
("p", "Glintbox remembers your choices between runs: the drive and folder, the maximum file "
      "size, the colours, the font, the layout, the display switches, the file filter and the "
      "place of the window (see \"Settings\")."),
]),

("window", "The main window", [
("p", "From top to bottom and left to right the main window holds:"),
("dl", [
 ("Menu bar and toolbar", "Every command is in the menus; the most used ones are also on the "
  "toolbar, followed by the zoom controls (see \"The toolbar\")."),
 ("Drive list", "The drives of the machine (see \"Drives, folders and files\")."),
 ("Size gauge", "Ten small cells that show the size of the selected file against the maximum "
  "file size (see \"Maximum file size and the size gauge\")."),
 ("Count line", "`Showing` n `files` m `dir's`: how many files the file list shows and how "
  "many folders the folder list shows below the current folder."),
 ("RTF Mode and HTML Mode", "Two switches for rich-text files and web pages (see \"Text view "
  "mode\")."),
 ("Folder list", "The folders from the drive's top folder down to the current folder, then the "
  "folders inside it. Double-click a folder, or press <<Enter>> on it, to open it. Its "
  "tool tip shows the current folder."),
 ("File list", "The files of the current folder that the file filter lets through, sorted by "
  "name. Selecting a file, with the mouse or the arrow keys, shows it. Its tool tip shows the "
  "name of the file shown."),
 ("Viewer", "The view of the selected file: the text view, the picture area, the web browser, "
  "the movie player or the launcher panel."),
 ("Status line", "The name of the file shown, its size in bytes and the date it was last "
  "changed, as day/month/year."),
]),
("p", "The lists sit either at the side of the viewer or in a strip above it: choose "
      "{Controls at the Side} or {Controls on the Top} from the View menu or the toolbar. The "
      "window cannot be made smaller than a minimum size; if you shrink it further it springs "
      "back."),
("p", "While Glintbox runs, its window icon turns slowly through sixteen pictures."),
]),

("drives", "Drives, folders and files", [
("p", "On Linux the drives are the mounted file systems that you would call drives: the root "
      "file system `/` always comes first, then removable media such as memory sticks and CDs, "
      "other disks and network shares. System file systems (such as /proc) are left out. A "
      "drive is shown by the folder it is mounted on, followed by its volume label in square "
      "brackets when it has one, for example `/media/anna/STICK [STICK]`."),
("p", "Choosing a drive always opens its top folder (the folder it is mounted on) and shows "
      "the first file there. If the drive cannot be read, for example because the medium has "
      "been taken out, Glintbox says `Sorry, but this drive is unavailable` and goes back to "
      "the drive shown before."),
("p", "Opening another folder fills the file list but leaves the file shown before on view "
      "until you select a file. Paths use `/` between folders. Files and folders whose names "
      "begin with a dot (hidden files) are not listed."),
("p", "{Refresh Files and Folders} (<<Ctrl+R>>) reads the drive again from disk: it returns "
      "to the drive's top folder and shows its first file. Use it after files have been added "
      "or removed by other programs."),
]),

("modes", "View modes", [
("p", "Glintbox decides how to show a file from the last three characters of its name, "
      "whatever their case, so that a file is shown the same way wherever it lies. There are "
      "four view modes; each shows its own view and enables only the commands that make sense "
      "for it."),
("table", ["View mode", "Files (last three characters of the name)", "What you see"], [
 ["Text", "txt, htm/html, rtf, ini, log and every type not listed below", "the text, the "
  "formatted document or the web page"],
 ["Image", "bmp, dib, wmf, emf, ico, cur, gif, jpg, jif", "the picture, zoomable, with scroll "
  "bars"],
 ["Movie", "avi, mpg, mpeg, mov, qt, wav, mid, rmi", "the media player"],
 ["Application Launcher", "exe, com", "the launcher panel"],
]),
("p", "Because only the last three characters count, a name ending in `.jpeg` ends in `peg` "
      "like `.mpeg` and opens in Movie view mode; rename it to `.jpg` to see it as a picture. "
      "A name ending in `.html` ends in `tml` and opens as a web page. A name without a dot is "
      "judged by its last three letters too."),
("p", "Files larger than the maximum file size are not loaded at all: the status line and "
      "the size gauge still describe them, and the text view and picture are emptied."),
]),

("text", "Text view mode", [
("p", "Text files are shown in the text view in the font you chose with {Font Options}. "
      "Glintbox reads the whole file at once. Text in UTF-8 is shown as such; any other text "
      "is read as Western European text (Windows-1252), the encoding of most older text files."),
("p", "A text file ends where the end-of-file marker (the character of code 26) stands, as "
      "old text files expect. If the file ends more than ten characters earlier than its "
      "size says, Glintbox shows what it could read and says `Glintbox has reduced the size of "
      "the file until it could be displayed`; check such a file. If nothing sensible can be "
      "read, it says `Glintbox was unable to resolve the problem` and shows nothing."),
("p", "Two switches below the drive list refine the Text view mode:"),
("dl", [
 ("RTF Mode", "Ticked (the default), rich-text documents (.rtf) are shown formatted, with "
  "their fonts, colours, tables and pictures. Unticked, you see their rich-text source as "
  "plain text. The file shown is shown again at once when you change the switch."),
 ("HTML Mode", "Ticked (the default), web pages (.htm, .html) are shown in the web browser. "
  "Unticked, you see their HTML source as plain text."),
]),
("p", "{Word Wrap Off} (<<Ctrl+Z>>) on the Options menu stops long lines from wrapping at the "
      "edge of the text view; a check mark beside it means that lines are not wrapped and the "
      "view scrolls sideways. Choose it again to wrap lines again."),
("p", "You can type into the text view and save the change back to the file (see \"Editing, "
      "saving, creating and deleting files\")."),
]),

("image", "Image view mode and zooming", [
("p", "Pictures are shown at their natural size at the top left corner of the picture area. "
      "Glintbox shows Windows bitmaps (.bmp, .dib), Windows metafiles and enhanced metafiles "
      "(.wmf, .emf) drawn as vector pictures, icons and cursors (.ico, .cur; the largest "
      "picture of the file), GIF and JPEG pictures (.gif, .jpg, .jif)."),
("p", "Zoom the picture from 25% to 1000% of its natural size:"),
("ul", [
 "the nine zoom buttons on the toolbar, `25%` to `1000%`;",
 "the zoom bar on the toolbar (drag it, or click beside its handle); the box beside it shows "
 "the zoom, for example `100 %`;",
 "the keys <<+>> or <<=>> to zoom in and <<->> or <<_>> to zoom out by 25%, while the file "
 "list has the keyboard focus;",
 "{Zoom In} and {Zoom Out} on the View menu.",
]),
("p", "Each zoom starts at the top left corner of the picture. Use the two scroll bars of the "
      "picture area to move about a picture larger than the area. A click on the picture gives "
      "the keyboard focus back to the file list, so the arrow keys move on through the files."),
("p", "In Text and Application Launcher view mode the zoom controls say `Sorry, Glintbox must "
      "be in Image or Movie mode`."),
]),

("movie", "Movie view mode", [
("p", "Movies and sounds play in the media player, which starts as soon as the file is "
      "selected. The bar under the picture has play and pause, stop, the position with the "
      "time played and the whole time, and the sound volume. Glintbox plays through the "
      "GStreamer media framework of your system; a format plays when a GStreamer plug-in for "
      "it is installed. MIDI music (.mid, .rmi) is played with a General MIDI sound font. "
      "Without a sound device, sounds play silently."),
("p", "Four of the zoom buttons set the size of the movie picture:"),
("table", ["Button", "Movie picture size"], [
 ["100%", "the movie's own size"],
 ["200%", "twice the movie's own size"],
 ["300%", "one quarter of the screen"],
 ["400%", "one half of the screen"],
]),
("p", "The size holds for the following movies too. The other zoom buttons, the zoom bar and "
      "the zoom keys do nothing to a movie; the zoom bar stays at 100."),
]),

("launcher", "Application Launcher view mode", [
("p", "Program files (.exe and .com) are not shown; the launcher panel shows the program's "
      "name instead, above the words `Double-click on the Launcher image to execute this "
      "application`. To start the program:"),
("ul", [
 "double-click the launcher picture, or",
 "press <<Enter>> while the file list has the keyboard focus, or",
 "choose {Launch Application} (<<Enter>>) from the Options menu.",
]),
("p", "A Windows program (a file that begins with the letters `MZ`) is started through Wine "
      "when Wine is installed. Any other program file is started directly when it is "
      "executable (it has the execute permission). The program starts in its own folder, "
      "without arguments, and runs on its own: Glintbox does not wait for it. If the program "
      "cannot be started, an error message says why."),
("p", "In the other view modes, <<Enter>> in the file list says `Sorry, Glintbox must be in "
      "Application Launcher mode to use the 'Enter' key`. The size gauge stays unlit for "
      "program files."),
]),

("menus", "Menu commands", [
("p", "Every command of the main window is on one of its five menus. The shortcut keys work "
      "wherever the keyboard focus is in the main window. Commands that do not suit the file "
      "shown are greyed out."),
("h3", "File menu"),
("table", ["Command", "Keys", "What it does"], [
 ["{Create New File}", "<<Ctrl+N>>", "creates a new, empty text file through a save dialog "
  "and shows it"],
 ["{Delete File}", "<<Del>>", "deletes the selected file after asking you"],
 ["{Font Options}", "<<Ctrl+O>>", "chooses the font and colour of the text"],
 ["{Print File}", "<<Ctrl+P>>", "prints the text or picture shown"],
 ["{Exit}", "<<Ctrl+Q>>", "ends Glintbox at once, without saving your settings"],
]),
("h3", "Edit menu"),
("table", ["Command", "Keys", "What it does"], [
 ["{Cut}", "<<Ctrl+X>>", "cuts the selected text to the clipboard"],
 ["{Copy}", "<<Ctrl+C>>", "copies the selected text to the clipboard"],
 ["{Paste}", "<<Ctrl+V>>", "pastes the clipboard's text at the cursor"],
 ["{Select All}", "<<Ctrl+A>>", "selects the whole text"],
 ["{Search Text}", "<<Ctrl+F>>", "finds a word or part of a word in the text"],
]),
("p", "Cut, copy, paste and select all are the text view's own keys: press them with the "
      "keyboard focus in the text. Outside Text view mode they are greyed out."),
("h3", "View menu"),
("table", ["Command", "Keys", "What it does"], [
 ["{Controls on the Top}", "<<Ctrl+T>>", "puts the lists in a strip above the viewer"],
 ["{Controls at the Side}", "<<Ctrl+D>>", "puts the lists in a column beside the viewer"],
 ["{Zoom In}", "<<+>> in the file list", "zooms the picture in by 25%"],
 ["{Zoom Out}", "<<->> in the file list", "zooms the picture out by 25%"],
 ["{Refresh Files and Folders}", "<<Ctrl+R>>", "reads the drive again and returns to its top "
  "folder"],
]),
("h3", "Options menu"),
("table", ["Command", "Keys", "What it does"], [
 ["{Find File}", "<<Ctrl+I>>", "searches a folder and the folders inside it for files"],
 ["{Launch Application}", "<<Enter>> in the file list", "starts the program shown"],
 ["{File Filtering}", "<<Ctrl+L>>", "chooses which file types the file list shows"],
 ["{Maximum File Size}", "<<Ctrl+M>>", "sets the size above which files are not loaded"],
 ["{Web Browser ACTIVE}", "<<Ctrl+S>>", "lets web pages reach the internet while checked"],
 ["{Word Wrap Off}", "<<Ctrl+Z>>", "stops long lines from wrapping while checked"],
 ["{Background Colours}", "<<Ctrl+B>>", "chooses the background colour of the view shown"],
]),
("h3", "Help menu"),
("table", ["Command", "Keys", "What it does"], [
 ["{Help}", "<<F1>>", "opens this help beside the main window"],
 ["{Bug Busters}", "<<Ctrl+G>>", "thanks the projects Glintbox is built with"],
 ["{About Glintbox}", "<<Ctrl+E>>", "shows the version, the maker and the licence"],
]),
("p", "Note that <<Del>> always means {Delete File} and <<Ctrl+Z>> always means {Word Wrap "
      "Off}, also while you type in the text view: use <<Backspace>> to remove characters. "
      "{Delete File} always asks before it deletes anything."),
]),

("toolbar", "The toolbar", [
("p", "The toolbar's buttons run the menu commands of the same name. Rest the mouse on a "
      "button to see its name. From left to right:"),
("table", ["Button", "Command"], [
 ["Create New File", "{Create New File}"],
 ["Delete File", "{Delete File}"],
 ["Print File", "{Print File}"],
 ["Font Options", "{Font Options}"],
 ["Search Text", "{Search Text}"],
 ["Find File", "{Find File}"],
 ["Background Colours", "{Background Colours}"],
 ["File Filtering", "{File Filtering}"],
 ["Maximum File Size", "{Maximum File Size}"],
 ["Controls at the Side", "{Controls at the Side}"],
 ["Controls on the Top", "{Controls on the Top}"],
 ["Refresh Files and Folders", "{Refresh Files and Folders}"],
 ["Help", "{Help}"],
]),
("p", "After the buttons come the zoom controls: the box that shows the zoom, the zoom bar "
      "(`Zoom Control`) and the nine zoom buttons from `25%` to `1000%`. Their tool tips say "
      "whether they act on images only or on images and movies (see \"Image view mode and "
      "zooming\" and \"Movie view mode\")."),
]),

("keys", "Keys", [
("p", "Besides the shortcut keys of the menus, these keys work while the file list has the "
      "keyboard focus:"),
("table", ["Keys", "What they do"], [
 ["<<Up>>, <<Down>>, <<Page Up>>, <<Page Down>>, <<Home>>, <<End>>", "select another file, "
  "which is shown at once"],
 ["<<+>> or <<=>>", "zoom in by 25% (Image view mode)"],
 ["<<->> or <<_>>", "zoom out by 25% (Image view mode)"],
 ["<<Enter>>", "start the program shown (Application Launcher view mode)"],
 ["<<Tab>>", "move the keyboard focus on to the next control"],
]),
("p", "After most actions in the viewer (showing a file, zooming, starting a program, a click "
      "on the picture or the launcher panel, playing or pausing a movie) the keyboard focus "
      "returns to the file list, so that you can go on with the arrow keys."),
]),

("filter", "File filtering", [
("p", "{File Filtering} (<<Ctrl+L>>) chooses which files the file list shows. Tick what you "
      "want to see:"),
("dl", [
 ("ALL Files", "every file of the folder, of any type. Files of unknown types are shown as "
  "text, which may not make sense for every file."),
 ("ALL File Types Listed Below", "every file of the types Glintbox knows (the default)."),
 ("Text, Image, Multimedia, Applications", "every file type of that group."),
 ("Single file types", "for example `*.txt` or `*.jpg`, under their group."),
]),
("p", "Ticking a box clears the boxes it contradicts: {ALL File Types Listed Below} and "
      "{ALL Files} clear every other box; a group clears its own file types; a file type "
      "clears {ALL File Types Listed Below}, {ALL Files} and its own group. Groups may be "
      "combined with each other and with file types of other groups."),
("p", "The dialog has no Cancel: pressing OK, pressing <<Enter>> or closing the dialog "
      "applies the ticks. The file list then shows the first matching file. With no box "
      "ticked at all, the file list shows every known type."),
("table", ["Group", "File types"], [
 ["Text", "*.txt, *.rtf, *.htm/html, *.inf, *.ini, *.bat, *.nfo, *.sys, *.log, *.frm, *.bas, "
  "*.vbp, *.lst"],
 ["Image", "*.bmp, *.wmf, *.emf, *.ico, *.dib, *.cur, *.gif, *.jpg, *.jif"],
 ["Multimedia", "*.avi, *.mpg, *.mpeg, *.mov, *.wav, *.mid, *.qt, *.rmi"],
 ["Applications", "*.exe, *.com"],
]),
("p", "The file types are matched without regard to case. The choice is kept for the next "
      "run."),
]),

("maxsize", "Maximum file size and the size gauge", [
("p", "Glintbox does not load files larger than the maximum file size, so that a huge file "
      "never holds up the window by mistake. The default is 20000 KiloBytes (a KiloByte is "
      "1024 bytes). {Maximum File Size} (<<Ctrl+M>>) changes it: type the new maximum in "
      "KiloBytes (only digits are accepted) and press OK or <<Enter>>. {Clear} empties the "
      "box; {Cancel} or closing the dialog keeps the old maximum. There is no upper limit. "
      "The new maximum applies from the next file you select."),
("p", "The ten cells of the size gauge show the size of the selected file against the "
      "maximum, one cell for each tenth, rounded to the nearest tenth: a file half the "
      "maximum lights five cells. The first seven cells light green and the last three "
      "orange-red. A file at or above the maximum lights all ten cells; a file above it is "
      "not loaded. Rest the mouse on a cell to see what share it stands for. For program "
      "files the gauge stays unlit."),
]),

("findfile", "Find File", [
("p", "{Find File} (<<Ctrl+I>>) opens the Find File window, which searches a folder and every "
      "folder inside it for files whose names match a pattern. It opens on the current drive "
      "and folder with the pattern `*.*` (every file)."),
("ul", [
 "Type a pattern in {Search For}, or pick one of the file types from its list. `*` stands "
 "for any run of characters and `?` for any one character; several patterns may be joined "
 "with `;`, for example `*.txt;*.htm`. Letters match without regard to case.",
 "Choose the drive and the folder where the search starts.",
 "Press {Find Now} or <<Enter>> in the pattern box. `SEARCHING` blinks while the search "
 "runs; {Stop} ends it early and keeps what was found so far.",
 "The results list shows each file found ({Name}) and its folder ({In Folder}); the files "
 "of the deepest folders come first. The line below counts the files found.",
 "Click a result to see its name and folder; a picture is also shown, shrunk to fit, under "
 "{Image Preview}.",
 "{Display File} shows the clicked file in the main window, which moves to its folder, and "
 "closes the Find File window. If the file filter of the main window hides that file type, "
 "the main window moves to the folder but selects nothing.",
 "{Close} closes the window.",
]),
("p", "The main window waits while the Find File window is open."),
]),

("editing", "Editing, saving, creating and deleting files", [
("p", "In Text view mode you can type into the text view. When you leave the text view after "
      "typing, for example by clicking the file list, Glintbox asks `File has been changed, "
      "would you like to save the changes?`. {Yes} writes the text back to its file, which is "
      "replaced, followed by a line break; {No} keeps the file as it was. In both cases the "
      "file now selected in the file list is shown."),
("p", "{Create New File} (<<Ctrl+N>>) opens a save dialog in the current folder. Choose a "
      "folder, a type and a name: Glintbox creates the file, holding only an empty line, and "
      "shows it, ready for typing. It warns before it replaces an existing file. If the disk "
      "is full it says `The destination disk is FULL.  Please free some disk space and try "
      "again`. If the file filter hides the new file's type, an error is shown but the file "
      "is created."),
("p", "{Delete File} (<<Del>>) asks `Are you sure you wish to delete` followed by the file's "
      "full path. {Yes} deletes the file at once: it does not go to the trash and cannot be "
      "brought back. The next file of the list is then shown (the one before, if the "
      "deleted file was the last). With no file in the list Glintbox says `There is no file "
      "to delete!`."),
]),

("search", "Searching text", [
("p", "{Search Text} (<<Ctrl+F>>) finds a word, or part of a word, in the text shown. Type "
      "the word; the search does not mind upper and lower case and the last word you looked "
      "for is offered again. Each find is selected in the text and reported with its line "
      "number, and Glintbox asks whether to search for another instance. The search goes from "
      "the start of the text to its end; it does not start over at the top. Line numbers "
      "count the lines as the text view shows them, wrapped lines included, and the first "
      "line is line 0."),
("p", "The search works in Text view mode only. An empty text says `Sorry, Glintbox could not "
      "find anything to search for!`."),
]),

("print", "Printing", [
("p", "{Print File} (<<Ctrl+P>>) prints the text or the picture shown, through the printer "
      "dialog of your system; cancel the dialog to print nothing. Each copy you ask for is "
      "printed as a print job of its own."),
("ul", [
 "A text is printed whole, with its formatting.",
 "A picture is printed at its natural size, whatever the zoom, under a line that names the "
 "file with its full path.",
]),
("p", "Movies and programs cannot be printed: Glintbox says `Sorry, but you can only Print "
      "Text and Image files`. If the printer reports a fault, a message names it; check the "
      "printer and try again."),
]),

("fonts", "Fonts and colours", [
("p", "{Font Options} (<<Ctrl+O>>) chooses the font of the text view: its name, size, bold, "
      "italic, underline, strikethrough and colour. The font applies to the text view at once "
      "and to every plain text shown afterwards; you may choose it in any view mode. The "
      "default is Tahoma, 8 points, in black (your system's nearest font where Tahoma is not "
      "installed)."),
("p", "{Background Colours} (<<Ctrl+B>>) chooses the background colour of the view of the "
      "current view mode: the text view in Text view mode, the picture area around the "
      "picture in Image view mode, or the launcher panel in Application Launcher view mode. "
      "Each view keeps its own colour. In Movie view mode Glintbox says `Sorry, but you cannot "
      "change the background colour whilst in Movie mode`. The text view starts in your "
      "desktop's window colour, the picture area and the launcher panel in grey."),
]),

("web", "Web pages offline and online", [
("p", "Web pages (.htm, .html) are shown in the web browser while {HTML Mode} is ticked. The "
      "browser keeps no history, cookies or cache on disk."),
("p", "Offline is the default: the page and everything it uses from your own disks are "
      "shown, but nothing is fetched from the internet or the local network, so pictures, "
      "scripts and frames kept on other machines stay out and the page cannot send anything "
      "anywhere. Check {Web Browser ACTIVE} (<<Ctrl+S>>) on the Options menu to let the "
      "browser go online for the pages you open from then on; choose it again to go offline. "
      "The page shown is not reloaded when you switch."),
("p", "The help pages of the Help window are always shown offline, whatever the switch."),
]),

("settings", "Settings", [
("p", "Glintbox keeps your settings in the file `~/.config/Glintbox/Glintbox.conf` in your "
      "home folder (in `$XDG_CONFIG_HOME/Glintbox/Glintbox.conf` when XDG_CONFIG_HOME is set). "
      "It is a plain text file with two sections, [Settings] and [Filters]."),
("p", "It keeps: the drive and folder, the maximum file size, the three background colours, "
      "where the lists sit, the RTF Mode and HTML Mode switches, Web Browser ACTIVE, Word "
      "Wrap Off, the text font and its colour, the size, place and state of the window, and "
      "the file filter."),
("p", "The settings are read when Glintbox starts and written when you close the main window "
      "(with its close box). {Exit} on the File menu ends Glintbox at "
      "once without writing them, so that the next run starts with the settings of the run "
      "before. To start again from the defaults, close Glintbox and delete the file."),
("p", "A window closed while maximised or minimised opens maximised next time. Glintbox "
      "writes no other files of its own: only the text files you save or create."),
]),

("helpwin", "Help, Bug Busters and About", [
("p", "{Help} (<<F1>>, or the Help button on the toolbar) opens the Help window beside the "
      "main window; you can go on working in the main window while it is open, and <<F1>> "
      "brings it to the front. It has four tabs:"),
("table", ["Tab", "Shows"], [
 ["Text Help File", "this help as plain text (`Glintbox Help.txt`)"],
 ["HTML Help File", "this help as a web page (`Glintbox Help.html`)"],
 ["Updates Text File", "what changed in each version, as plain text (`Glintbox Updates.txt`)"],
 ["HTML Updates File", "the same as a web page (`Glintbox Updates.html`)"],
]),
("p", "The four files lie in the same folder as the `glintbox` program itself, and each tab "
      "reads its file again when you select it. If they are missing Glintbox says `Sorry, but "
      "it has not been possible to find some or all of the help files!`; put them back beside "
      "the program. The Help window can be made as large as you like but no smaller than a "
      "minimum size."),
("p", "{Bug Busters} (<<Ctrl+G>>) thanks, in a slowly rising list, the open-source projects "
      "Glintbox is built with and those whose public test files check its readers. Please "
      "report the bugs you find."),
("p", "{About Glintbox} (<<Ctrl+E>>) shows the version, the maker, the web and e-mail "
      "addresses and the licence: Glintbox is free software under the GNU General Public "
      "License, version 3 or later. Close either window with its close box or <<Esc>>."),
]),

("messages", "Messages", [
("p", "The messages you may meet, and what to do:"),
("dl", [
 ("Glintbox - Error followed by a number", "something went wrong with a file or a command; "
  "the message says what (for example `File not found` or `Permission denied`). Nothing is "
  "lost and Glintbox goes on working."),
 ("Sorry, but this drive is unavailable", "the drive could not be read; insert the medium or "
  "mount the drive and choose it again."),
 ("Sorry, Glintbox must be in Image or Movie mode", "zooming needs a picture or a movie."),
 ("Sorry, Glintbox must be in Application Launcher mode to use the 'Enter' key", "<<Enter>> "
  "starts programs only."),
 ("Sorry, Glintbox must be in Text mode", "editing and searching need a text."),
 ("An 'Input past end of file' error has occured", "the text file ends before its size says "
  "(see \"Text view mode\")."),
 ("File has been changed, would you like to save the changes?", "you typed into the text; "
  "Yes saves it to its file."),
 ("The destination disk is FULL", "free some disk space and try again."),
]),
]),
]
