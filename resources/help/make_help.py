#!/usr/bin/env python3
"""Writes the four help files beside this script from one source each.

content/help.py and content/updates.py hold the text as blocks (paragraphs,
lists, term lists, tables, sub-headings); each becomes a plain-text file for
the fixed-width text views and a web page with the same words. Run it after
changing the content and commit the four files it writes.

Marks inside the text: {Caption} a command, button or window name, <<Keys>> a
key, `text` something shown or typed literally.
"""
import html
import importlib.util
import pathlib
import re
import sys
import textwrap

HERE = pathlib.Path(__file__).resolve().parent
# The content modules are data; no compiled copies beside them.
sys.dont_write_bytecode = True

WIDTH = 78
MARK = re.compile(r"\{([^}]+)\}|<<(.+?)>>|`([^`]+)`")


def to_text(s):
    def rep(m):
        if m.group(1):
            return m.group(1)
        if m.group(2):
            # Keys never break across lines.
            return m.group(2).replace(" ", "\0")
        return '"' + m.group(3) + '"'
    return MARK.sub(rep, s)


def unglue(s):
    return s.replace("\0", " ")


def to_html(s):
    out = []
    pos = 0
    for m in MARK.finditer(s):
        out.append(html.escape(s[pos:m.start()], quote=False))
        if m.group(1):
            out.append("<b>" + html.escape(m.group(1), quote=False) + "</b>")
        elif m.group(2):
            out.append("<kbd>" + html.escape(m.group(2), quote=False) + "</kbd>")
        else:
            out.append("<code>" + html.escape(m.group(3), quote=False) + "</code>")
        pos = m.end()
    out.append(html.escape(s[pos:], quote=False))
    return "".join(out)


def wrap(s, indent="", first=None, width=WIDTH):
    return textwrap.fill(s, width=width, initial_indent=first if first is not None else indent,
                         subsequent_indent=indent, break_long_words=False,
                         break_on_hyphens=False)


def text_table(header, rows):
    header = [to_text(h) for h in header]
    rows = [[to_text(c) for c in r] for r in rows]
    n = len(header)
    gap = 2
    widths = []
    for i in range(n - 1):
        longest = max(len(w) for r in rows + [header] for w in r[i].split(' '))
        natural = max(len(r[i]) for r in rows + [header])
        widths.append(max(longest, min(natural, 26)))
    last = WIDTH - 2 - sum(widths) - gap * (n - 1)
    widths.append(max(last, 20))
    lines = []

    def emit(cells):
        wrapped = [textwrap.wrap(c, width=widths[i], break_long_words=False,
                                 break_on_hyphens=False) or [""] for i, c in enumerate(cells)]
        height = max(len(w) for w in wrapped)
        for k in range(height):
            parts = []
            for i in range(n):
                cell = wrapped[i][k] if k < len(wrapped[i]) else ""
                parts.append(cell.ljust(widths[i]) if i < n - 1 else cell)
            lines.append(("  " + (" " * gap).join(parts)).rstrip())
    emit(header)
    lines.append("  " + (" " * gap).join("-" * w for w in widths))
    for r in rows:
        emit(r)
    return "\n".join(lines)


def render_text(mod, other_name):
    out = []
    out.append(mod.TITLE.upper())
    out.append(mod.SUBTITLE)
    out.append("=" * WIDTH)
    out.append("")
    if len(mod.SECTIONS) > 1:
        out.append("Contents")
        out.append("")
        for i, (sid, title, _) in enumerate(mod.SECTIONS, 1):
            out.append(f"  {i:2d}. {title}")
        out.append("")
        out.append("")
    for i, (sid, title, blocks) in enumerate(mod.SECTIONS, 1):
        heading = f"{i}. {title}" if len(mod.SECTIONS) > 1 else title
        out.append(heading)
        out.append("-" * len(heading))
        out.append("")
        for block in blocks:
            kind = block[0]
            if kind == "p":
                out.append(wrap(to_text(block[1])))
            elif kind == "h3":
                out.append(to_text(block[1]))
                out.append("~" * len(to_text(block[1])))
            elif kind == "ul":
                out.append("\n".join(wrap(to_text(item), indent="    ", first="  - ")
                                     for item in block[1]))
            elif kind == "dl":
                items = []
                for term, desc in block[1]:
                    items.append("  " + to_text(term) + "\n" + wrap(to_text(desc), indent="      "))
                out.append("\n".join(items))
            elif kind == "table":
                out.append(text_table(block[1], block[2]))
            out.append("")
        out.append("")
    out.append(wrap(f"See also {other_name}, beside this file."))
    return unglue("\n".join(out).rstrip() + "\n")


STYLE = """\
body { font-family: sans-serif; line-height: 1.45; max-width: 50em; margin: 1em auto;
       padding: 0 1em; color: #1d1d1f; background: #ffffff; }
h1 { font-size: 1.7em; margin-bottom: 0.1em; }
h2 { font-size: 1.3em; margin-top: 1.6em; border-bottom: 1px solid #c8c8d0; }
h3 { font-size: 1.05em; margin-bottom: 0.3em; }
.subtitle { color: #55555f; margin-top: 0; }
.contents ol { columns: 2; }
table { border-collapse: collapse; margin: 0.5em 0; }
th, td { border: 1px solid #c8c8d0; padding: 0.25em 0.6em; text-align: left;
         vertical-align: top; }
th { background: #eeeef3; }
dt { font-weight: bold; margin-top: 0.4em; }
dd { margin-left: 1.5em; }
kbd { border: 1px solid #b0b0bb; border-radius: 3px; padding: 0 0.3em; background: #f5f5f8;
      font-family: monospace; font-size: 0.95em; white-space: nowrap; }
code { font-family: monospace; background: #f3f3f6; padding: 0 0.2em; }
.footer { margin-top: 2em; font-size: 0.9em; color: #55555f; }
@media (prefers-color-scheme: dark) {
  body { color: #e6e6ea; background: #1e1e22; }
  h2 { border-bottom-color: #4a4a55; }
  .subtitle, .footer { color: #a5a5b0; }
  th, td { border-color: #4a4a55; }
  th { background: #2c2c33; }
  kbd { background: #2c2c33; border-color: #5a5a66; }
  code { background: #2a2a30; }
  a { color: #8ab4f8; }
}"""


def render_html(mod, other_name, other_file):
    out = []
    out.append("<!DOCTYPE html>")
    out.append('<html lang="en">')
    out.append("<head>")
    out.append('<meta charset="utf-8">')
    out.append(f"<title>{html.escape(mod.TITLE)}</title>")
    out.append("<style>")
    out.append(STYLE)
    out.append("</style>")
    out.append("</head>")
    out.append("<body>")
    out.append(f"<h1>{html.escape(mod.TITLE)}</h1>")
    out.append(f'<p class="subtitle">{html.escape(mod.SUBTITLE)}</p>')
    many = len(mod.SECTIONS) > 1
    if many:
        out.append('<div class="contents">')
        out.append("<h2>Contents</h2>")
        out.append("<ol>")
        for sid, title, _ in mod.SECTIONS:
            out.append(f'<li><a href="#{sid}">{html.escape(title)}</a></li>')
        out.append("</ol>")
        out.append("</div>")
    for i, (sid, title, blocks) in enumerate(mod.SECTIONS, 1):
        heading = f"{i}. {title}" if many else title
        out.append(f'<h2 id="{sid}">{html.escape(heading)}</h2>')
        for block in blocks:
            kind = block[0]
            if kind == "p":
                out.append(f"<p>{to_html(block[1])}</p>")
            elif kind == "h3":
                out.append(f"<h3>{to_html(block[1])}</h3>")
            elif kind == "ul":
                out.append("<ul>")
                for item in block[1]:
                    out.append(f"<li>{to_html(item)}</li>")
                out.append("</ul>")
            elif kind == "dl":
                out.append("<dl>")
                for term, desc in block[1]:
                    out.append(f"<dt>{to_html(term)}</dt>")
                    out.append(f"<dd>{to_html(desc)}</dd>")
                out.append("</dl>")
            elif kind == "table":
                out.append("<table>")
                out.append("<tr>" + "".join(f"<th>{to_html(h)}</th>" for h in block[1]) + "</tr>")
                for row in block[2]:
                    out.append("<tr>" + "".join(f"<td>{to_html(c)}</td>" for c in row) + "</tr>")
                out.append("</table>")
    href = other_file.replace(" ", "%20")
    out.append(f'<p class="footer">See also <a href="{href}">{html.escape(other_name)}</a>.</p>')
    out.append("</body>")
    out.append("</html>")
    return "\n".join(out) + "\n"


def load(name):
    spec = importlib.util.spec_from_file_location(name, HERE / "content" / f"{name}.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def main():
    pairs = [("help", "Glintbox Help", "Glintbox Updates"),
             ("updates", "Glintbox Updates", "Glintbox Help")]
    for module, name, other in pairs:
        content = load(module)
        (HERE / f"{name}.txt").write_text(render_text(content, f'"{other}.txt"'),
                                          encoding="utf-8")
        (HERE / f"{name}.html").write_text(render_html(content, other, f"{other}.html"),
                                           encoding="utf-8")


if __name__ == "__main__":
    main()
