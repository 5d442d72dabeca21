#pragma once

#include <cstdint>
#include <string>

namespace vesk {

// The byte in front of each command in a page; the low seven bits select.
enum TCommandKind : std::uint8_t {
    CK_IF = 0, CK_ELSEIF, CK_ELSE, CK_LABEL, CK_JUMP, CK_CALL, CK_EXIT, CK_WAIT,
    CK_BOXNEW, CK_IMGNEW, CK_MESNEW, CK_TIMER, CK_MOVIE, CK_FLIP, CK_CALC, CK_VARNEW,
    CK_VARDEL, CK_GETPROP, CK_SETPROP, CK_OBJDEL, CK_TEXTINS, CK_MOVIESTOP, CK_CLRHIST,
    CK_CINEMA, CK_CAPTION, CK_MENU, CK_MENUCLOSE, CK_COMMENT, CK_TEXTCLR, CK_CALLHIST,
    CK_BUTTON, CK_WHILE, CK_WHILEINIT, CK_WHILELOOP, CK_BREAK, CK_CONTINUE,
    CK_PARTICLENEW, CK_FIRENEW, CK_GAMESAVE, CK_GAMELOAD, CK_PCRESET, CK_RESET, CK_SOUND,
    CK_EDITNEW, CK_MEMONEW, CK_TERMINATE, CK_DOEVENT, CK_CLRREAD, CK_MAPIMGNEW, CK_WAVENEW,
    CK_TILENEW, CK_SLIDERNEW, CK_SCROLLBARNEW, CK_GAUGENEW, CK_CGCAPTION, CK_MEDIAPLAY,
    CK_PREVMENUNEW, CK_PROPMOTION, CK_FORMATHIST, CK_SAVECABINET, CK_LOADCABINET,
};

inline constexpr int kCommandKindCount = 61;

// The kind's name as authors write it in page sources ("If", "BoxNew", ...).
const char* CommandKindName(int kind);
// The editor's label of the kind, UTF-8 ("ジャンプ", ...).
const char* CommandKindLabel(int kind);
// The kind whose name equals text (ASCII case-insensitive), or -1.
int CommandKindByName(const std::string& text);

}  // namespace vesk
