#pragma once
// The edits of an area list that the item view, the timeline and the program guide share: Find,
// Insert, Append and Delete with the `start` bookkeeping that keeps every element's place on
// its area's timeline (one second a pixel), resizing a timeline bar, and the rules of a drop
// from the property view. Plain functions on ProgramData; the views only forward the mouse.
//
// Area slots are 0..3 and element 0 of a list is the area's background; a negative or too
// large area or index makes every edit do nothing (Find gives null).
#include <string>

#include "editor/element.h"
#include "editor/medium_kind.h"
#include "editor/program_data.h"

namespace brightline {

// A bar is never resized below this many seconds.
inline constexpr int kMinBarSeconds = 10;
// "Set Delay" takes a whole number of seconds in 0..kMaxDelaySeconds.
inline constexpr int kMaxDelaySeconds = 86399;
// Hold of an element made by a drop, and of a dropped background that is no clip.
inline constexpr int kDroppedHold = 3;
// "Set Speed" offers the entries "1" to "8": speed 0..7.
inline constexpr int kSpeedChoices = 8;

// Find(a, i): the element, or null for an index past the end.
CElement* findElement(ProgramData& program, int area, int index);
const CElement* findElement(const ProgramData& program, int area, int index);

// Insert(element, a, i): below the count, the element takes the `start` of the element now at
// i, goes before it, and every element from the old i on starts later by the new element's
// `hold`. At or past the count it is appended. Returns the index it took, -1 when nothing was
// done.
int insertElement(ProgramData& program, CElement element, int area, int index);
// Append: `start` = the last element's start + hold (0 for an empty list).
int appendElement(ProgramData& program, CElement element, int area);

// Delete(a, i): an item (i > 0) is removed and every element after it starts earlier by its
// hold. The background (i = 0) stays in the list and loses its medium: path empty, thumbIndex
// -1; nothing shifts. False when there was no such element.
bool deleteElement(ProgramData& program, int area, int index);

// Which element the layout view shows in the area after element `deleted` went: the one now at
// that position, else the one before it; -1 when the list is empty.
int shownAfterDelete(const ProgramData& program, int area, int deleted);

// A timeline bar's end dragged to second `end`: the new end is at least `start` + 10, `hold` =
// end - start, and every later element of the area moves by the change of the end. False when
// there is no such element.
bool resizeElement(ProgramData& program, int area, int index, int end);

// The element a medium dropped into an item slot or a timeline row becomes: hold 3, start 0
// (Insert places it), the path as the library holds it and the entry's position in its list
// (0 for clock pages).
CElement droppedItem(const std::string& path, int entryIndex);
// A medium dropped on the background card: the background takes the path (letter case kept:
// the file would be lost otherwise), the entry's position (0 for clock pages), hold 0 for a clip
// and 3 otherwise, and no effects (moveIn 0, moveOut 0).
void takeAsBackground(CElement& background, const std::string& path, int entryIndex);

// An effect dropped on a card: clips and clock pages take no effect (false, nothing changes).
bool takesEffects(const CElement& element);
bool setEntryEffect(CElement& element, int moveIn);
bool setExitEffect(CElement& element, int moveOut);

// "Set Speed" is offered for the push effects "Move left" and "Move right" only (moveIn 1, 2).
bool speedOffered(const CElement& element);
// The entry of the speed list an element's speed selects: its speed when 0..7, else 0.
int speedChoice(const CElement& element);

// The Set Delay rule: a whole number of seconds from 0 to 86399 (no sign, no blanks inside).
bool parseDelay(const std::string& text, int& seconds);

}  // namespace brightline
