#pragma once
// What the operator dialog lists. The settings store gives the operator
// database the dialog's texts for the first entry of each list, and the
// dialog lists the operators that offer GPRS or CSD; tools that show an
// integrator what the dialog will show use the same texts and kinds.

#include <cstdint>

#include "applet/connections/connection_kinds.h"
#include "applet/connections/operator_database.h"

namespace applet {

// The placeholder that stands first in every operator list of the dialog
// and marks that no operator is chosen.
inline constexpr uint32_t kPlaceholderOperatorString = 65085;

// The kinds the dialog lists operators for.
inline constexpr int32_t kOperatorDialogKinds =
    BearerBit(BearerType::Gprs) | BearerBit(BearerType::Csd);

// Replaces the list texts that Open took with the dialog's: the no-country
// text and the placeholder, from the current resource source (empty when
// the source lacks them, as any text the resource library does not hold).
void UseDialogListTexts(OperatorDatabase& database);

}  // namespace applet
