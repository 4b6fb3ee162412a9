#pragma once

#include "model/line_list.h"

namespace railscen {

// The scenario carried by the pack, as stored text. Each list ends with kEndOfList.
LineList stored_line_description();
LineList stored_train_description();
LineList stored_notes_sheet();
LineList stored_slowdown_form();
LineList stored_timetable_sheet();

}  // namespace railscen
