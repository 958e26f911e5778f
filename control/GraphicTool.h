#pragma once
// A font or a brush of a control: colour plus, for a font, the LOGFONT fields. The
// platform handle is made on demand and deleted whenever a field changes; the owner's
// change callback runs after every change.
#include <windows.h>

#include <cstdint>

#include "control/GdiHandles.h"
#include "control/ManagedObject.h"

struct Control;

// 32-bit colour value: 0x00BBGGRR, or SystemColourFlag + n for the system colour n.
using ColourValue = std::uint32_t;
const ColourValue SystemColourFlag = 0x80000000;
const ColourValue ColourBtnFace = SystemColourFlag | COLOR_BTNFACE;
const ColourValue ColourWindow = SystemColourFlag | COLOR_WINDOW;
const ColourValue ColourWindowText = SystemColourFlag | COLOR_WINDOWTEXT;

// The RGB colour of a colour value (system colours through GetSysColor, now).
COLORREF ResolveColour(ColourValue colour);

// Font style set of SetFontStyle.
enum FontStyleFlags : unsigned {
    FontBold = 1,
    FontItalic = 2,
    FontUnderline = 4,
    FontStrikeOut = 8,
};

enum class GraphicToolKind { Font, Brush };

class GraphicTool : public ManagedObject {
public:
    using ChangeCallback = void (*)(Control* owner, GraphicTool* tool);

    // A font starts as height 0, weight 0, DEFAULT_CHARSET, "MS Sans Serif",
    // colour COLOR_WINDOWTEXT; a brush as the button-face colour.
    explicit GraphicTool(GraphicToolKind kind);

    // Copies every setting (not the owner, callback or handle) from other.
    void Assign(const GraphicTool& other);

    // Each setter deletes the handle and runs the change callback, unless unchanged.
    void SetColour(ColourValue colour);
    // At most 31 characters are kept; an unchanged name does nothing.
    void SetFaceName(const char* name);
    void SetHeight(LONG height);
    void SetWeight(LONG weight);
    // Bold raises a weight below 700 to 700; clearing bold sets 700 or more to 0.
    void SetStyle(unsigned styles);
    unsigned Style() const;

    // The font (CreateFontIndirectA) or solid brush of the current fields.
    HFONT FontHandle();
    HBRUSH BrushHandle();
    LOGFONTA LogFont() const;

    GraphicToolKind Kind;
    Control* Owner = nullptr;
    ChangeCallback Changed = nullptr;
    ColourValue Colour;

    LONG Height = 0;
    LONG Width = 0;
    LONG Escapement = 0;
    LONG Orientation = 0;
    LONG Weight = 0;
    BYTE Italic = 0;
    BYTE Underline = 0;
    BYTE StrikeOut = 0;
    BYTE CharSet = DEFAULT_CHARSET;
    BYTE OutPrecision = 0;
    BYTE ClipPrecision = 0;
    BYTE Quality = 0;
    BYTE PitchAndFamily = 0;
    char FaceName[LF_FACESIZE] = "MS Sans Serif";

private:
    void NotifyChanged();

    GdiObject<HFONT> font_;
    GdiObject<HBRUSH> brush_;
};
