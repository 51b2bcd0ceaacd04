#pragma once

#include "reports/owner_lookup.h"
#include "reports/printing/report_printing.h"

#include <QString>
#include <functional>
#include <memory>

class Dialogs;

// What the race report windows work with; the main window fills it from its context, tests with stand-ins.
struct RaceReportServices {
    Dialogs* dialogs = nullptr;
    QString raceFolder;
    // Opens the owners' database connection for one report window; nullptr reads every owner as unknown.
    std::function<std::unique_ptr<OwnerLookup>()> openOwners;
    // The system's printer when empty.
    std::shared_ptr<ReportPrinter> printer;
};
