#pragma once

#include "console/ChosenItem.h"
#include "console/ItemSurvey.h"
#include "erase/DiskKeeps.h"

#include <string>
#include <vector>

// What the drives of the items kww would erase keep out of its reach, learnt as each item's task
// would learn it (erase/DiskKeeps): a script sees it before anything runs.
class DriveSurvey {
public:
    // Adds to the item's survey the sentences its task's warning would carry and, for a file or
    // folder, whether the newest shadow copy of its drive holds earlier versions of its files.
    void addItem(const ChosenItem& item, ItemSurvey& survey);
    // One line for each drive the items lie on: "Drive C:\: solid-state drive, 3 shadow copies".
    [[nodiscard]] std::vector<std::wstring> lines() const;

private:
    std::vector<DiskKeeps::Drive> drives_;
};
