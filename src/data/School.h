#pragma once

#include "data/DbResult.h"

#include <QString>

// The school itself: its name, which everything printed carries in its title.
namespace School {

// The name as stored; empty when none was ever set.
DbValue<QString> Name();
DbResult SetName(const QString& name);

} // namespace School
