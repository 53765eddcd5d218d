#include "media/swf/swf_types.h"

#include <algorithm>
#include <cmath>

namespace brightline::swf {

Matrix Matrix::operator*(const Matrix& i) const {
    Matrix m;
    m.a = a * i.a + c * i.b;
    m.b = b * i.a + d * i.b;
    m.c = a * i.c + c * i.d;
    m.d = b * i.c + d * i.d;
    m.tx = a * i.tx + c * i.ty + tx;
    m.ty = b * i.tx + d * i.ty + ty;
    return m;
}

bool Matrix::invertible() const {
    const double det = a * d - b * c;
    return std::isfinite(det) && std::fabs(det) > 1e-12 && std::isfinite(tx) && std::isfinite(ty);
}

bool ColorTransform::identity() const {
    for (int i = 0; i < 4; ++i)
        if (mult[i] != 1 || add[i] != 0) return false;
    return true;
}

Rgba ColorTransform::apply(Rgba c) const {
    auto channel = [this](int i, uint8_t v) {
        const double x = std::round(v * mult[i] + add[i]);
        return uint8_t(std::clamp(x, 0.0, 255.0));
    };
    return Rgba{channel(0, c.r), channel(1, c.g), channel(2, c.b), channel(3, c.a)};
}

ColorTransform ColorTransform::operator*(const ColorTransform& inner) const {
    ColorTransform t;
    for (int i = 0; i < 4; ++i) {
        t.mult[i] = mult[i] * inner.mult[i];
        t.add[i] = mult[i] * inner.add[i] + add[i];
    }
    return t;
}

namespace {

struct TagInfo {
    int code;
    const char* name;
    TagHandling handling;
};

constexpr TagHandling D = TagHandling::Drawn;
constexpr TagHandling I = TagHandling::Ignored;
constexpr TagHandling N = TagHandling::NotDrawn;

constexpr TagInfo kTags[] = {
    {0, "End", D},
    {1, "ShowFrame", D},
    {2, "DefineShape", D},
    {3, "FreeCharacter", D},
    {4, "PlaceObject", D},
    {5, "RemoveObject", D},
    {6, "DefineBits", D},
    {7, "DefineButton", N},
    {8, "JPEGTables", D},
    {9, "SetBackgroundColor", D},
    {10, "DefineFont", D},
    {11, "DefineText", D},
    {12, "DoAction", I},
    {13, "DefineFontInfo", I},
    {14, "DefineSound", I},
    {15, "StartSound", I},
    {17, "DefineButtonSound", I},
    {18, "SoundStreamHead", I},
    {19, "SoundStreamBlock", I},
    {20, "DefineBitsLossless", D},
    {21, "DefineBitsJPEG2", D},
    {22, "DefineShape2", D},
    {23, "DefineButtonCxform", I},
    {24, "Protect", I},
    {26, "PlaceObject2", D},
    {28, "RemoveObject2", D},
    {32, "DefineShape3", D},
    {33, "DefineText2", D},
    {34, "DefineButton2", N},
    {35, "DefineBitsJPEG3", D},
    {36, "DefineBitsLossless2", D},
    {37, "DefineEditText", N},
    {39, "DefineSprite", D},
    {40, "NameCharacter", I},
    {41, "ProductInfo", I},
    {43, "FrameLabel", I},
    {45, "SoundStreamHead2", I},
    {46, "DefineMorphShape", D},
    {48, "DefineFont2", D},
    {56, "ExportAssets", I},
    {57, "ImportAssets", N},
    {58, "EnableDebugger", I},
    {59, "DoInitAction", I},
    {60, "DefineVideoStream", D},
    {61, "VideoFrame", D},
    {62, "DefineFontInfo2", I},
    {63, "DebugID", I},
    {64, "EnableDebugger2", I},
    {65, "ScriptLimits", I},
    {66, "SetTabIndex", I},
    {69, "FileAttributes", I},
    {70, "PlaceObject3", D},
    {71, "ImportAssets2", N},
    {72, "DoABCDefine", I},
    {73, "DefineFontAlignZones", I},
    {74, "CSMTextSettings", I},
    {75, "DefineFont3", D},
    {76, "SymbolClass", I},
    {77, "Metadata", I},
    {78, "DefineScalingGrid", N},
    {82, "DoABC", I},
    {83, "DefineShape4", D},
    {84, "DefineMorphShape2", D},
    {86, "DefineSceneAndFrameLabelData", I},
    {87, "DefineBinaryData", I},
    {88, "DefineFontName", I},
    {89, "StartSound2", I},
    {90, "DefineBitsJPEG4", N},
    {91, "DefineFont4", N},
    {93, "EnableTelemetry", I},
};

const TagInfo* find(int code) {
    for (const TagInfo& t : kTags)
        if (t.code == code) return &t;
    return nullptr;
}

}  // namespace

std::string tagName(int code) {
    const TagInfo* t = find(code);
    return t ? t->name : "Tag" + std::to_string(code);
}

TagHandling tagHandling(int code) {
    const TagInfo* t = find(code);
    return t ? t->handling : TagHandling::Unknown;
}

}  // namespace brightline::swf
