// The database manager: the notice window through which every question and message reaches the
// user, the item editor for countries, places, groups and persons, the manager window with its
// filtered and paged lists, its small dialogs and the place import window. The records, files and
// texts themselves live in the database module; these are the windows over them.
#pragma once

#include "manager/data_store.h"
#include "manager/item_editor.h"
#include "manager/notice_window.h"
