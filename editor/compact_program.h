#pragma once
// A program said briefly: the sign size, the area format and per area a background and a list of
// items, each a medium with its effects, speed and hold. The whole program (dividing lines,
// background elements, the `start` of every element) is made from it by the same steps the
// desktop takes for a person's clicks: File > New, the area format dropped on the face, then per
// area the background dropped on its card and each item dropped after the last one, each given
// its effects, speed and delay before the next is dropped.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/program_data.h"

namespace brightline {

// An item's settings; a setting left out keeps what the drop gave (entry effect 0, "SHOW"; exit
// effect 0, "NULL"; speed 0; hold 3, or 0 for a clip dropped as a background).
struct CompactItem {
    std::string path;
    std::optional<int> moveIn;   // Move In list index 0..44
    std::optional<int> moveOut;  // Move Out list index 0..45
    std::optional<int> speed;
    std::optional<int> hold;
};

struct CompactArea {
    std::optional<CompactItem> background;
    std::vector<CompactItem> items;
};

struct CompactProgram {
    int width = 256;
    int height = 128;
    // Absent: no area format was chosen (format 0, the dividing lines as a new program has them).
    std::optional<int> areaFormat;
    std::vector<CompactArea> areas;  // at most the format's area count
};

// The position a medium's entry takes in its library as the property view lists it (the
// element's thumbIndex).
using ThumbIndexOf = std::function<int(const std::string& path)>;

// The empty program File > New gives for a sign of width x height: four lists holding one empty
// background each, the dividing lines untouched.
ProgramData newProgram(int width, int height);

// A format dropped on the face: the program takes the format (outside 0..10: format 0) and its
// dividing lines from the program's sign size.
void applyAreaFormat(ProgramData& program, int format);

// The whole program. Areas past the format's area count and effects on a medium that takes none
// (clips, clock pages) are not applied: check them first (compactProblem).
ProgramData makeProgram(const CompactProgram& compact, const ThumbIndexOf& thumbIndexOf);

// What keeps a compact program from being made as the desktop would make it: a sign size the
// desktop does not take (field "sign"), a format outside 0..10 ("areaFormat"), more areas than
// the format has ("areas"), or for the element `index` of area `area` (0 the background, i > 0
// item i): no medium ("path"), settings outside their lists ("in", "out", "speed", "hold"),
// effects on a clip or a clock page ("in" or "out").
struct CompactProblem {
    std::string field;
    std::string message;
    int area = -1;   // -1: the problem is the whole program's
    int index = -1;  // 0 the background, i > 0 item i
};
std::optional<CompactProblem> compactProblem(const CompactProgram& compact);

// The compact form of a program, or nullopt with `why` saying what of the program the compact
// form cannot say (moved dividing lines, a start moved on the timeline, an element with no
// exit line, ...). thumbIndex is not compared: it is taken from the libraries when the compact
// form is made into a program.
std::optional<CompactProgram> compactOf(const ProgramData& program, std::string* why);

// The thumbIndex the property view would give `path`: its position among the listed entries
// (those whose file can be opened) of the library of its kind in `startFolder`; 0 for clock
// pages and for media the library does not list.
int libraryThumbIndex(const std::string& startFolder, const std::string& path);

}  // namespace brightline
