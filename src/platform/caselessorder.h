// The order of a file list box: names sorted without regard to letter case
// (case-folded), and names that fold alike in their own order.
#pragma once

#include "platform/namelist.h"

#include <vector>

// The indexes of the names in that order.
std::vector<quint32> caselessOrder(const PackedNames &names);
