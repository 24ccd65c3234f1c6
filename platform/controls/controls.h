#pragma once
// The standard controls of the handheld's dialogs: static text, buttons
// (push, check, radio, group), edit fields, list boxes, combo boxes
// (drop-down and drop-down list), progress bars and scroll bars. Each is a
// window class with the handheld's name, styles, messages and
// notifications; a control tells its parent what happened with WM_COMMAND
// (low word its id, high word the notification, lParam its handle), a
// scroll bar with WM_VSCROLL or WM_HSCROLL.
//
// They draw in the handheld's flat style with the font their dialog gives
// them (WM_SETFONT), and ask their parent for colours with WM_CTLCOLOR*.

#include <cstdint>

#include "base/text.h"

namespace platform {

// Class names.
inline constexpr char16_t kButtonClass[] = u"Button";
inline constexpr char16_t kStaticClass[] = u"Static";
inline constexpr char16_t kEditClass[] = u"Edit";
inline constexpr char16_t kListBoxClass[] = u"ListBox";
inline constexpr char16_t kComboBoxClass[] = u"ComboBox";
inline constexpr char16_t kScrollBarClass[] = u"ScrollBar";
inline constexpr char16_t kProgressClass[] = u"msctls_progress32";

// Registers the classes above and the dialog class; safe to call again. The
// window system calls it before it looks up a class.
void EnsureStandardClasses();

// Button styles (the low four bits are the kind).
inline constexpr uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr uint32_t BS_CHECKBOX = 0x2;
inline constexpr uint32_t BS_AUTOCHECKBOX = 0x3;
inline constexpr uint32_t BS_RADIOBUTTON = 0x4;
inline constexpr uint32_t BS_3STATE = 0x5;
inline constexpr uint32_t BS_AUTO3STATE = 0x6;
inline constexpr uint32_t BS_GROUPBOX = 0x7;
inline constexpr uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr uint32_t BS_OWNERDRAW = 0xB;
inline constexpr uint32_t BS_TYPEMASK = 0xF;
inline constexpr uint32_t BS_LEFTTEXT = 0x20;
inline constexpr uint32_t BS_MULTILINE = 0x2000;
// Button messages and states.
inline constexpr uint32_t BM_GETCHECK = 0x00F0;
inline constexpr uint32_t BM_SETCHECK = 0x00F1;
inline constexpr uint32_t BM_GETSTATE = 0x00F2;
inline constexpr uint32_t BM_SETSTATE = 0x00F3;
inline constexpr uint32_t BM_SETSTYLE = 0x00F4;
inline constexpr uint32_t BM_CLICK = 0x00F5;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;
inline constexpr int BST_PUSHED = 4;
inline constexpr int BST_FOCUS = 8;
inline constexpr uint16_t BN_CLICKED = 0;

// Static styles.
inline constexpr uint32_t SS_LEFT = 0x0;
inline constexpr uint32_t SS_CENTER = 0x1;
inline constexpr uint32_t SS_RIGHT = 0x2;
inline constexpr uint32_t SS_ICON = 0x3;
inline constexpr uint32_t SS_BLACKRECT = 0x4;
inline constexpr uint32_t SS_GRAYRECT = 0x5;
inline constexpr uint32_t SS_WHITERECT = 0x6;
inline constexpr uint32_t SS_LEFTNOWORDWRAP = 0xC;
inline constexpr uint32_t SS_TYPEMASK = 0x1F;
inline constexpr uint32_t SS_NOPREFIX = 0x80;
inline constexpr uint32_t SS_NOTIFY = 0x100;
inline constexpr uint32_t SS_CENTERIMAGE = 0x200;
inline constexpr uint16_t STN_CLICKED = 0;

// Edit styles, messages and notifications.
inline constexpr uint32_t ES_LEFT = 0x0;
inline constexpr uint32_t ES_CENTER = 0x1;
inline constexpr uint32_t ES_RIGHT = 0x2;
inline constexpr uint32_t ES_MULTILINE = 0x4;
inline constexpr uint32_t ES_UPPERCASE = 0x8;
inline constexpr uint32_t ES_LOWERCASE = 0x10;
inline constexpr uint32_t ES_PASSWORD = 0x20;
inline constexpr uint32_t ES_AUTOVSCROLL = 0x40;
inline constexpr uint32_t ES_AUTOHSCROLL = 0x80;
inline constexpr uint32_t ES_NOHIDESEL = 0x100;
inline constexpr uint32_t ES_READONLY = 0x800;
inline constexpr uint32_t ES_WANTRETURN = 0x1000;
inline constexpr uint32_t ES_NUMBER = 0x2000;
inline constexpr uint32_t EM_GETSEL = 0x00B0;
inline constexpr uint32_t EM_SETSEL = 0x00B1;
inline constexpr uint32_t EM_SCROLLCARET = 0x00B7;
inline constexpr uint32_t EM_GETMODIFY = 0x00B8;
inline constexpr uint32_t EM_SETMODIFY = 0x00B9;
inline constexpr uint32_t EM_REPLACESEL = 0x00C2;
inline constexpr uint32_t EM_LIMITTEXT = 0x00C5;  // EM_SETLIMITTEXT
inline constexpr uint32_t EM_SETREADONLY = 0x00CF;
inline constexpr uint32_t EM_GETLIMITTEXT = 0x00D5;
inline constexpr uint16_t EN_SETFOCUS = 0x0100;
inline constexpr uint16_t EN_KILLFOCUS = 0x0200;
inline constexpr uint16_t EN_CHANGE = 0x0300;
inline constexpr uint16_t EN_UPDATE = 0x0400;
inline constexpr uint16_t EN_MAXTEXT = 0x0501;
// An edit field takes at most this many characters unless told otherwise,
// and never more than kMaxEditLimit.
inline constexpr int kDefaultEditLimit = 30000;
inline constexpr int kMaxEditLimit = 0x7FFFFFFE;

// List box styles, messages and notifications.
inline constexpr uint32_t LBS_NOTIFY = 0x0001;
inline constexpr uint32_t LBS_SORT = 0x0002;
inline constexpr uint32_t LBS_HASSTRINGS = 0x0040;
inline constexpr uint32_t LB_ADDSTRING = 0x0180;
inline constexpr uint32_t LB_INSERTSTRING = 0x0181;
inline constexpr uint32_t LB_DELETESTRING = 0x0182;
inline constexpr uint32_t LB_RESETCONTENT = 0x0184;
inline constexpr uint32_t LB_SETCURSEL = 0x0186;
inline constexpr uint32_t LB_GETCURSEL = 0x0188;
inline constexpr uint32_t LB_GETTEXT = 0x0189;
inline constexpr uint32_t LB_GETTEXTLEN = 0x018A;
inline constexpr uint32_t LB_GETCOUNT = 0x018B;
inline constexpr uint32_t LB_SELECTSTRING = 0x018C;
inline constexpr uint32_t LB_GETTOPINDEX = 0x018E;
inline constexpr uint32_t LB_FINDSTRING = 0x018F;
inline constexpr uint32_t LB_SETTOPINDEX = 0x0197;
inline constexpr uint32_t LB_FINDSTRINGEXACT = 0x01A2;
inline constexpr uint16_t LBN_SELCHANGE = 1;
inline constexpr uint16_t LBN_DBLCLK = 2;
inline constexpr intptr_t LB_ERR = -1;

// Combo box styles, messages and notifications.
inline constexpr uint32_t CBS_SIMPLE = 0x0001;
inline constexpr uint32_t CBS_DROPDOWN = 0x0002;
inline constexpr uint32_t CBS_DROPDOWNLIST = 0x0003;
inline constexpr uint32_t CBS_TYPEMASK = 0x0003;
inline constexpr uint32_t CBS_AUTOHSCROLL = 0x0040;
inline constexpr uint32_t CBS_SORT = 0x0100;
inline constexpr uint32_t CBS_HASSTRINGS = 0x0200;
inline constexpr uint32_t CB_GETEDITSEL = 0x0140;
inline constexpr uint32_t CB_LIMITTEXT = 0x0141;
inline constexpr uint32_t CB_SETEDITSEL = 0x0142;
inline constexpr uint32_t CB_ADDSTRING = 0x0143;
inline constexpr uint32_t CB_DELETESTRING = 0x0144;
inline constexpr uint32_t CB_GETCOUNT = 0x0146;
inline constexpr uint32_t CB_GETCURSEL = 0x0147;
inline constexpr uint32_t CB_GETLBTEXT = 0x0148;
inline constexpr uint32_t CB_GETLBTEXTLEN = 0x0149;
inline constexpr uint32_t CB_INSERTSTRING = 0x014A;
inline constexpr uint32_t CB_RESETCONTENT = 0x014B;
inline constexpr uint32_t CB_FINDSTRING = 0x014C;
inline constexpr uint32_t CB_SELECTSTRING = 0x014D;
inline constexpr uint32_t CB_SETCURSEL = 0x014E;
inline constexpr uint32_t CB_SHOWDROPDOWN = 0x014F;
inline constexpr uint32_t CB_GETDROPPEDSTATE = 0x0157;
inline constexpr uint32_t CB_FINDSTRINGEXACT = 0x0158;
inline constexpr uint16_t CBN_SELCHANGE = 1;
inline constexpr uint16_t CBN_SETFOCUS = 3;
inline constexpr uint16_t CBN_KILLFOCUS = 4;
inline constexpr uint16_t CBN_EDITCHANGE = 5;
inline constexpr uint16_t CBN_EDITUPDATE = 6;
inline constexpr uint16_t CBN_DROPDOWN = 7;
inline constexpr uint16_t CBN_CLOSEUP = 8;
inline constexpr uint16_t CBN_SELENDOK = 9;
inline constexpr uint16_t CBN_SELENDCANCEL = 10;
inline constexpr intptr_t CB_ERR = -1;

// Scroll bar styles and messages.
inline constexpr uint32_t SBS_HORZ = 0x0;
inline constexpr uint32_t SBS_VERT = 0x1;
inline constexpr uint32_t SBM_SETPOS = 0x00E0;
inline constexpr uint32_t SBM_GETPOS = 0x00E1;
inline constexpr uint32_t SBM_SETRANGE = 0x00E2;
inline constexpr uint32_t SBM_SETRANGEREDRAW = 0x00E6;
inline constexpr uint32_t SBM_GETRANGE = 0x00E3;
inline constexpr uint32_t SBM_SETSCROLLINFO = 0x00E9;
inline constexpr uint32_t SBM_GETSCROLLINFO = 0x00EA;
// SBM_SETSCROLLINFO/SBM_GETSCROLLINFO's lParam points to this.
inline constexpr uint32_t SIF_RANGE = 0x1;
inline constexpr uint32_t SIF_PAGE = 0x2;
inline constexpr uint32_t SIF_POS = 0x4;
inline constexpr uint32_t SIF_TRACKPOS = 0x10;
inline constexpr uint32_t SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
struct ScrollInfo {
  uint32_t mask = 0;
  int min = 0;
  int max = 0;
  unsigned page = 0;
  int pos = 0;
  int trackPos = 0;
};

// A person picks entry wParam of a combo box's dropped list or of a list
// box, as with the pen: the selection changes and the parent hears what a
// pen pick tells it (CBN_SELCHANGE, CBN_SELENDOK and CBN_CLOSEUP; or
// LBN_SELCHANGE). Automation sends it; the result is the index, or -1 for
// an index beyond the list.
inline constexpr uint32_t kPickEntryMessage = 0x03FE;

// Progress bar messages (the common controls' numbers).
inline constexpr uint32_t PBM_SETRANGE = 0x0401;
inline constexpr uint32_t PBM_SETPOS = 0x0402;
inline constexpr uint32_t PBM_DELTAPOS = 0x0403;
inline constexpr uint32_t PBM_SETSTEP = 0x0404;
inline constexpr uint32_t PBM_STEPIT = 0x0405;
inline constexpr uint32_t PBM_SETRANGE32 = 0x0406;
inline constexpr uint32_t PBM_GETRANGE = 0x0407;
inline constexpr uint32_t PBM_GETPOS = 0x0408;
inline constexpr uint32_t PBS_SMOOTH = 0x01;
inline constexpr uint32_t PBS_VERTICAL = 0x04;

}  // namespace platform
