#pragma once

#include "console/ItemSurvey.h"

// What the erase of this user's Recycle Bin would take, read without changing anything: each
// deleted item by the path it was deleted from (read from its record) with its size, in the
// order the erase takes them; an item whose record is missing or unreadable by its place in the
// bin, and so is one whose record is damaged, which the line says. What cannot be looked at is a
// warning.
void surveyRecycleBin(ItemSurvey& survey);
