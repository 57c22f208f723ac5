#pragma once

#include "storage/ui/app_context.h"
#include "storage/page_commands.h"
#include "storage/system_probe_format.h"

class QPrinter;

namespace lumavo {

// The printer the report and the memory printout go to for the rest of the run. Where the machine
// has no printer it prints to a PDF file: the one named in Print Setup, else defaultReportPdfPath.
// Kept with the main window (or the application when there is none).
QPrinter& currentPrinter(AppContext& context);

// File > "&Print...": the project report on the current printer, no dialog. A printer that fails
// shows an error box. The editor then does what the result says (show the page that was loaded).
EditorActions printProjectReport(AppContext& context);

// File > "P&rint Setup...": the platform's print dialog on the current printer (its result is not
// used). Without an installed printer: asks for the PDF file the reports are written to.
void runPrintSetup(AppContext& context);

// "Print memory information": the memory printout on the current printer (for PDF output, the
// report's PDF name with "-memory" added). A printer that fails shows an error box.
void printMemoryInformation(AppContext& context, const MemoryPrintout& printout);

} // namespace lumavo
