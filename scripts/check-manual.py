#!/usr/bin/env python3
"""Checks a built manual: every chapter of docs/manual is there and linked, every link, anchor and picture of every page
leads to something in the folder, no link still points at a Markdown file, and the command-line
reference has a section for every command `brightline-cli --help` lists.

    check-manual.py MANUAL_FOLDER BRIGHTLINE_CLI

Prints each fault and exits 1 when there is one.
"""
import html.parser
import os
import re
import subprocess
import sys
import urllib.parse

MANUAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "docs", "manual")


def chapters():
    """Every chapter source: NAME.md, and NAME.head.md for a generated chapter."""
    names = set()
    for file in os.listdir(MANUAL):
        if file.endswith(".head.md"):
            names.add(file[:-len(".head.md")])
        elif file.endswith(".md"):
            names.add(file[:-len(".md")])
    return sorted(names)


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.ids = set()
        self.links = []  # (attribute, value)

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name == "id" and value:
                self.ids.add(value)
            if (tag, name) in (("a", "href"), ("img", "src"), ("link", "href")) and value:
                self.links.append((tag, value))


def main():
    if len(sys.argv) != 3:
        print("usage: check-manual.py MANUAL_FOLDER BRIGHTLINE_CLI", file=sys.stderr)
        return 2
    folder, cli = sys.argv[1], sys.argv[2]
    faults = []
    pages = {}
    for root, _, files in os.walk(folder):
        for name in files:
            if name.endswith(".html"):
                path = os.path.relpath(os.path.join(root, name), folder)
                page = Page()
                with open(os.path.join(root, name), encoding="utf-8") as f:
                    page.feed(f.read())
                pages[path] = page
    for chapter in chapters():
        if chapter + ".html" not in pages:
            faults.append("the chapter %s.html was not built" % chapter)
        elif not any(value == chapter + ".html" for page in pages.values()
                     for tag, value in page.links if tag == "a"):
            faults.append("no page leads to %s.html" % chapter)

    checked = 0
    for path, page in sorted(pages.items()):
        for tag, value in page.links:
            target = urllib.parse.urlsplit(value)
            if target.scheme in ("http", "https", "mailto"):
                continue
            checked += 1
            if target.scheme or target.netloc:
                faults.append("%s: <%s> leads out of the manual: %s" % (path, tag, value))
                continue
            file = urllib.parse.unquote(target.path)
            if file.endswith(".md"):
                faults.append("%s: a link to a Markdown file: %s" % (path, value))
                continue
            resolved = os.path.normpath(os.path.join(os.path.dirname(path), file)) if file \
                else path
            if resolved.startswith(".."):
                faults.append("%s: <%s> leads out of the manual: %s" % (path, tag, value))
            elif not os.path.isfile(os.path.join(folder, resolved)):
                faults.append("%s: <%s> to a missing file: %s" % (path, tag, value))
            elif target.fragment:
                if resolved not in pages:
                    faults.append("%s: an anchor into a file that is no page: %s" % (path, value))
                elif target.fragment not in pages[resolved].ids:
                    faults.append("%s: no heading #%s in %s" % (path, target.fragment, resolved))

    reference = pages.get("cli-reference.html")
    if reference:
        overview = subprocess.run([cli, "--help"], stdout=subprocess.PIPE, text=True).stdout
        commands = re.findall(r"^  ([a-z][a-z-]*)\b", overview, re.M)
        if not commands:
            faults.append("brightline-cli --help lists no command")
        for command in commands:
            if command not in reference.ids:
                faults.append("cli-reference.html has no section for %s" % command)
        if "brightline-signsim" not in reference.ids:
            faults.append("cli-reference.html has no section for brightline-signsim")

    for fault in faults:
        print("FAIL: " + fault)
    print("%d pages, %d links checked, %d faults" % (len(pages), checked, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
