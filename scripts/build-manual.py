#!/usr/bin/env python3
"""Builds the manual: docs/manual/*.md to HTML with cmark-gfm, in one folder that the desktop's
Help > Help opens and the package installs.

    build-manual.py --cli BRIGHTLINE_CLI --signsim BRIGHTLINE_SIGNSIM --out FOLDER

Two chapters are generated from the programs themselves so that they always say what the build
does: the command-line reference (from `brightline-cli --help`, `COMMAND --help` and
`brightline-signsim --help`) and the effects gallery (every entry and exit effect drawn by the
show engine as a GIF, `brightline-cli effects`). Screenshots come from docs/screenshots. The
folder is written beside FOLDER and renamed into place when complete.
"""
import argparse
import html
import os
import re
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DOCS = os.path.normpath(os.path.join(HERE, "..", "docs"))
MANUAL = os.path.join(DOCS, "manual")
SCREENSHOTS = os.path.join(DOCS, "screenshots")

# The chapters in reading order; the contents of every page list them.
CHAPTERS = [
    "index",
    "getting-started",
    "program-editor",
    "effects",
    "schedules",
    "clock-pages",
    "text-pages",
    "signs-and-links",
    "virtual-sign",
    "cli-reference",
    "troubleshooting",
]
GENERATED = {"cli-reference", "effects"}

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>{title} - Brightline manual</title>
<link rel="stylesheet" href="manual.css">
</head>
<body>
<nav>
<p class="product"><a href="index.html">Brightline manual</a></p>
<p class="version">version {version}</p>
<ol>
{contents}
</ol>
</nav>
<main>
{body}
<footer>{neighbours}</footer>
</main>
</body>
</html>
"""


class BuildError(Exception):
    pass


def run(argv):
    """Standard output of a program that must succeed."""
    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        raise BuildError("%s failed (exit %d): %s" % (" ".join(argv), done.returncode,
                                                        done.stderr.strip()))
    return done.stdout


def fenced(text):
    return "```\n" + text.rstrip("\n") + "\n```\n"


def cli_reference(cli, signsim):
    """The command-line reference: the hand-written head, then one section per command."""
    with open(os.path.join(MANUAL, "cli-reference.head.md"), encoding="utf-8") as f:
        parts = [f.read().rstrip("\n") + "\n"]
    overview = run([cli, "--help"])
    # Commands are the lines indented by exactly two spaces; sign's own commands by six.
    commands = [m.group(1) for m in re.finditer(r"^  ([a-z][a-z-]*)\b", overview, re.M)]
    if not commands:
        raise BuildError("brightline-cli --help lists no command")
    parts.append("\n## Commands\n\n" + fenced(overview))
    for command in commands:
        text = run([cli, command, "--help"])
        parts.append("\n## %s\n\n" % command + fenced(text))
    parts.append("\n## brightline-signsim\n\n" + fenced(run([signsim, "--help"])))
    return "".join(parts)


def effects_gallery(cli, out):
    """The gallery: the hand-written head, then a table of every effect with its two GIFs."""
    folder = os.path.join(out, "effects")
    run([cli, "effects", "--size", "96x48", "--out", folder])
    for name in os.listdir(folder):  # the half-way stills: the gallery shows the GIFs only
        if name.endswith(".png"):
            os.remove(os.path.join(folder, name))
    with open(os.path.join(MANUAL, "effects.head.md"), encoding="utf-8") as f:
        parts = [f.read().rstrip("\n") + "\n\n"]
    parts.append("| position | name | shown in the lists as | entering | leaving |\n")
    parts.append("|---|---|---|---|---|\n")
    rows = 0
    for line in run([cli, "effects", "--list"]).splitlines():
        position, name, shown = line.split("\t")
        entry = "effects/%s_in.gif" % name
        exit_ = "effects/%s_out.gif" % name
        for gif in (entry, exit_):
            if not os.path.isfile(os.path.join(out, gif)):
                raise BuildError("brightline-cli effects did not draw " + gif)
        # "No clear" is no entry effect: the lists do not offer it to enter with.
        entering = "(leaving only)" if name == "NULL" else "![%s entering](%s)" % (name, entry)
        parts.append("| %s | `%s` | %s | %s | ![%s leaving](%s) |\n" %
                     (position, name, shown or "(scripts only)", entering, name, exit_))
        rows += 1
    if rows < 46:
        raise BuildError("brightline-cli effects --list named %d effects" % rows)
    return "".join(parts)


def slug(text, seen):
    """The id GitHub gives a heading: lower case, punctuation but '-' and '_' dropped, spaces to
    '-', a repeated id numbered."""
    plain = html.unescape(re.sub(r"<[^>]+>", "", text)).strip().lower()
    base = re.sub(r"[^\w\- ]", "", plain).replace(" ", "-")
    candidate, n = base, 0
    while candidate in seen:
        n += 1
        candidate = "%s-%d" % (base, n)
    seen.add(candidate)
    return candidate


def to_html(markdown):
    done = subprocess.run(
        ["cmark-gfm", "--validate-utf8", "-e", "table", "-e", "autolink", "-e", "strikethrough"],
        input=markdown, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        raise BuildError("cmark-gfm failed: " + done.stderr.strip())
    body = done.stdout
    seen = set()
    body = re.sub(r"<h([1-6])>(.*?)</h\1>",
                  lambda m: '<h%s id="%s">%s</h%s>' % (m.group(1), slug(m.group(2), seen),
                                                      m.group(2), m.group(1)), body)
    # Links between chapters and to the screenshots, as they lie in the built folder.
    body = re.sub(r'href="([\w-]+)\.md(#[^"]*)?"',
                  lambda m: 'href="%s.html%s"' % (m.group(1), m.group(2) or ""), body)
    body = body.replace('src="../screenshots/', 'src="screenshots/')
    return body


def title_of(markdown, name):
    m = re.search(r"^# (.+)$", markdown, re.M)
    if not m:
        raise BuildError("%s.md has no title (a first-level heading)" % name)
    return m.group(1).strip()


def build(cli, signsim, out, version):
    sources = {}
    for name in CHAPTERS:
        if name in GENERATED:
            continue
        path = os.path.join(MANUAL, name + ".md")
        if not os.path.isfile(path):
            raise BuildError("the chapter %s is missing" % path)
        with open(path, encoding="utf-8") as f:
            sources[name] = f.read()

    staging = out + ".new"
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    sources["cli-reference"] = cli_reference(cli, signsim)
    sources["effects"] = effects_gallery(cli, staging)

    titles = {name: title_of(sources[name], name) for name in CHAPTERS}
    shots = set()
    for i, name in enumerate(CHAPTERS):
        contents = "\n".join(
            '<li%s><a href="%s.html">%s</a></li>' %
            (' class="here"' if other == name else "", other, html.escape(titles[other]))
            for other in CHAPTERS)
        neighbours = []
        if i > 0:
            neighbours.append('<a href="%s.html">&larr; %s</a>' %
                              (CHAPTERS[i - 1], html.escape(titles[CHAPTERS[i - 1]])))
        if i + 1 < len(CHAPTERS):
            neighbours.append('<a class="next" href="%s.html">%s &rarr;</a>' %
                              (CHAPTERS[i + 1], html.escape(titles[CHAPTERS[i + 1]])))
        body = to_html(sources[name])
        shots.update(re.findall(r'src="screenshots/([^"/]+)"', body))
        page = PAGE.format(title=html.escape(titles[name]), version=html.escape(version),
                           contents=contents, body=body, neighbours=" ".join(neighbours))
        with open(os.path.join(staging, name + ".html"), "w", encoding="utf-8") as f:
            f.write(page)

    os.makedirs(os.path.join(staging, "screenshots"))
    for shot in sorted(shots):
        source = os.path.join(SCREENSHOTS, shot)
        if not os.path.isfile(source):
            raise BuildError("a chapter shows docs/screenshots/%s, which does not exist" % shot)
        shutil.copyfile(source, os.path.join(staging, "screenshots", shot))
    shutil.copyfile(os.path.join(MANUAL, "manual.css"), os.path.join(staging, "manual.css"))

    shutil.rmtree(out, ignore_errors=True)
    os.rename(staging, out)


def main():
    parser = argparse.ArgumentParser(description="Build the Brightline manual as HTML.")
    parser.add_argument("--cli", required=True, help="the brightline-cli program")
    parser.add_argument("--signsim", required=True, help="the brightline-signsim program")
    parser.add_argument("--out", required=True, help="the folder to write")
    parser.add_argument("--version", default="", help="the version the pages name")
    args = parser.parse_args()
    try:
        build(os.path.abspath(args.cli), os.path.abspath(args.signsim),
              os.path.abspath(args.out), args.version)
    except (BuildError, OSError) as e:
        print("build-manual: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
