#include "editor/element_list.h"

#include <algorithm>
#include <cctype>

namespace brightline {

namespace {

std::vector<CElement>* listOf(ProgramData& program, int area) {
    if (area < 0 || area >= kAreaSlots) return nullptr;
    return &program.areaLists[static_cast<size_t>(area)];
}

int entryIndexFor(const std::string& path, int entryIndex) {
    return mediumKindOf(path) == MediumKind::ClockPage ? 0 : entryIndex;
}

}  // namespace

CElement* findElement(ProgramData& program, int area, int index) {
    std::vector<CElement>* list = listOf(program, area);
    if (!list || index < 0 || static_cast<size_t>(index) >= list->size()) return nullptr;
    return &(*list)[static_cast<size_t>(index)];
}

const CElement* findElement(const ProgramData& program, int area, int index) {
    return findElement(const_cast<ProgramData&>(program), area, index);
}

int insertElement(ProgramData& program, CElement element, int area, int index) {
    std::vector<CElement>* list = listOf(program, area);
    if (!list || index < 0) return -1;
    if (static_cast<size_t>(index) >= list->size()) return appendElement(program, element, area);
    const size_t at = static_cast<size_t>(index);
    element.start = (*list)[at].start;
    for (size_t i = at; i < list->size(); ++i) (*list)[i].start += element.hold;
    list->insert(list->begin() + static_cast<std::ptrdiff_t>(at), std::move(element));
    return index;
}

int appendElement(ProgramData& program, CElement element, int area) {
    std::vector<CElement>* list = listOf(program, area);
    if (!list) return -1;
    element.start = list->empty() ? 0 : list->back().start + list->back().hold;
    list->push_back(std::move(element));
    return static_cast<int>(list->size()) - 1;
}

bool deleteElement(ProgramData& program, int area, int index) {
    std::vector<CElement>* list = listOf(program, area);
    if (!list || index < 0 || static_cast<size_t>(index) >= list->size()) return false;
    const size_t at = static_cast<size_t>(index);
    if (at == 0) {
        (*list)[0].path.clear();
        (*list)[0].thumbIndex = -1;
        return true;
    }
    const int hold = (*list)[at].hold;
    list->erase(list->begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < list->size(); ++i) (*list)[i].start -= hold;
    return true;
}

int shownAfterDelete(const ProgramData& program, int area, int deleted) {
    if (area < 0 || area >= kAreaSlots) return -1;
    const int count = static_cast<int>(program.areaLists[static_cast<size_t>(area)].size());
    if (count == 0) return -1;
    if (deleted < 0) return 0;
    return deleted < count ? deleted : count - 1;
}

bool resizeElement(ProgramData& program, int area, int index, int end) {
    CElement* element = findElement(program, area, index);
    if (!element) return false;
    const int oldEnd = element->start + element->hold;
    const int newEnd = std::max(end, element->start + kMinBarSeconds);
    element->hold = newEnd - element->start;
    auto& list = program.areaLists[static_cast<size_t>(area)];
    for (size_t i = static_cast<size_t>(index) + 1; i < list.size(); ++i)
        list[i].start += newEnd - oldEnd;
    return true;
}

CElement droppedItem(const std::string& path, int entryIndex) {
    CElement element;
    element.path = path;
    element.thumbIndex = entryIndexFor(path, entryIndex);
    element.hold = kDroppedHold;
    element.moveIn = 0;
    element.moveOut = 0;
    element.speed = 0;
    element.start = 0;
    return element;
}

void takeAsBackground(CElement& background, const std::string& path, int entryIndex) {
    background.path = path;
    background.thumbIndex = entryIndexFor(path, entryIndex);
    background.hold = isClip(mediumKindOf(path)) ? 0 : kDroppedHold;
    background.moveIn = 0;
    background.moveOut = 0;
}

bool takesEffects(const CElement& element) {
    const MediumKind kind = mediumKindOf(element.path);
    return !isClip(kind) && kind != MediumKind::ClockPage;
}

bool setEntryEffect(CElement& element, int moveIn) {
    if (!takesEffects(element)) return false;
    element.moveIn = moveIn;
    return true;
}

bool setExitEffect(CElement& element, int moveOut) {
    if (!takesEffects(element)) return false;
    element.moveOut = moveOut;
    return true;
}

bool speedOffered(const CElement& element) {
    return element.moveIn == 1 || element.moveIn == 2;
}

int speedChoice(const CElement& element) {
    return element.speed >= 0 && element.speed < kSpeedChoices ? element.speed : 0;
}

bool parseDelay(const std::string& text, int& seconds) {
    if (text.empty() || text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + (c - '0');
    }
    if (value > kMaxDelaySeconds) return false;
    seconds = value;
    return true;
}

}  // namespace brightline
