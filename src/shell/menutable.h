#pragma once
// The main window's function menu as data: captions (trailing blanks are part
// of them), function numbers and the rights position that enables each item.
// The rights editor and the main window both read it.

#include <QString>
#include <vector>

namespace fm {

struct MenuEntry {
    int level = 0;         // 0 top menu, 1 item, 2 item of a submenu
    QString caption;       // "-" is a separator
    int function = 0;      // 0: no function (top menu, submenu or separator)
    int position = 0;      // rights position, 0: none
    bool hidden = false;   // a separator that is not shown
    bool submenu = false;  // has items below it
};

const std::vector<MenuEntry> &menuTable();

// The caption of the window a function opens, for placeholders and tests.
QString functionWindowCaption(int function);

// The 70 check boxes of the rights editor, index 0 = position 1.
const std::vector<QString> &rightsCaptions();
constexpr int kRightsPositions = 70;

// Whether the rights string grants a position: positions 9 and 16 need a
// "1"; every other position is refused only by a "0" (a missing character
// grants). Only trailing blanks are trimmed, so positions never shift.
bool rightGranted(const QString &rights, int position);

// The effective rights of a string as 70 flags, as the main window applies them.
std::vector<bool> effectiveRights(const QString &rights);

// The rights string the editor stores: the stored string with positions
// 1..70 overwritten, always exactly 70 characters of "0" and "1".
QString composeRights(const QString &stored, const std::vector<bool> &granted);

// Which menu entries are enabled (one flag per entry of menuTable()).
//  - gate: the turnover numbers are not initialised; only their
//    initialisation is offered, whatever the rights.
//  - operatorFound false: the operator is gone; nothing is offered.
std::vector<bool> menuEnabled(const QString &rights, bool gate, bool operatorFound = true);

// The function numbers an operator can reach: the item and every menu above it enabled.
std::vector<int> reachableFunctions(const std::vector<bool> &enabled);

} // namespace fm
