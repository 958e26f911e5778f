#include "control/GraphicTool.h"

#include <cstring>

COLORREF ResolveColour(ColourValue colour) {
    if (colour & SystemColourFlag)
        return GetSysColor(static_cast<int>(colour & 0xFF));
    return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

GraphicTool::GraphicTool(GraphicToolKind kind)
    : Kind(kind), Colour(kind == GraphicToolKind::Font ? ColourWindowText : ColourBtnFace) {}

void GraphicTool::Assign(const GraphicTool& other) {
    Colour = other.Colour;
    Height = other.Height;
    Width = other.Width;
    Escapement = other.Escapement;
    Orientation = other.Orientation;
    Weight = other.Weight;
    Italic = other.Italic;
    Underline = other.Underline;
    StrikeOut = other.StrikeOut;
    CharSet = other.CharSet;
    OutPrecision = other.OutPrecision;
    ClipPrecision = other.ClipPrecision;
    Quality = other.Quality;
    PitchAndFamily = other.PitchAndFamily;
    std::memcpy(FaceName, other.FaceName, sizeof(FaceName));
    font_.Reset();
    brush_.Reset();
}

void GraphicTool::NotifyChanged() {
    font_.Reset();
    brush_.Reset();
    if (Changed)
        Changed(Owner, this);
}

void GraphicTool::SetColour(ColourValue colour) {
    if (colour == Colour)
        return;
    Colour = colour;
    NotifyChanged();
}

void GraphicTool::SetFaceName(const char* name) {
    char cut[LF_FACESIZE] = {};
    if (name)
        std::strncpy(cut, name, LF_FACESIZE - 1);
    if (std::strcmp(cut, FaceName) == 0)
        return;
    std::memcpy(FaceName, cut, sizeof(FaceName));
    NotifyChanged();
}

void GraphicTool::SetHeight(LONG height) {
    if (height == Height)
        return;
    Height = height;
    NotifyChanged();
}

void GraphicTool::SetWeight(LONG weight) {
    if (weight == Weight)
        return;
    Weight = weight;
    NotifyChanged();
}

void GraphicTool::SetStyle(unsigned styles) {
    LONG weight = Weight;
    if (styles & FontBold) {
        if (weight < FW_BOLD)
            weight = FW_BOLD;
    } else if (weight >= FW_BOLD) {
        weight = 0;
    }
    const BYTE italic = (styles & FontItalic) ? 1 : 0;
    const BYTE underline = (styles & FontUnderline) ? 1 : 0;
    const BYTE strikeOut = (styles & FontStrikeOut) ? 1 : 0;
    if (weight == Weight && italic == Italic && underline == Underline && strikeOut == StrikeOut)
        return;
    Weight = weight;
    Italic = italic;
    Underline = underline;
    StrikeOut = strikeOut;
    NotifyChanged();
}

unsigned GraphicTool::Style() const {
    unsigned styles = 0;
    if (Weight >= FW_BOLD)
        styles |= FontBold;
    if (Italic)
        styles |= FontItalic;
    if (Underline)
        styles |= FontUnderline;
    if (StrikeOut)
        styles |= FontStrikeOut;
    return styles;
}

LOGFONTA GraphicTool::LogFont() const {
    LOGFONTA font = {};
    font.lfHeight = Height;
    font.lfWidth = Width;
    font.lfEscapement = Escapement;
    font.lfOrientation = Orientation;
    font.lfWeight = Weight;
    font.lfItalic = Italic;
    font.lfUnderline = Underline;
    font.lfStrikeOut = StrikeOut;
    font.lfCharSet = CharSet;
    font.lfOutPrecision = OutPrecision;
    font.lfClipPrecision = ClipPrecision;
    font.lfQuality = Quality;
    font.lfPitchAndFamily = PitchAndFamily;
    std::memcpy(font.lfFaceName, FaceName, sizeof(font.lfFaceName));
    font.lfFaceName[LF_FACESIZE - 1] = 0;
    return font;
}

HFONT GraphicTool::FontHandle() {
    if (!font_) {
        const LOGFONTA font = LogFont();
        font_.Reset(CreateFontIndirectA(&font));
    }
    return font_.Get();
}

HBRUSH GraphicTool::BrushHandle() {
    if (!brush_)
        brush_.Reset(CreateSolidBrush(ResolveColour(Colour)));
    return brush_.Get();
}
