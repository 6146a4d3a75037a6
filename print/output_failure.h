// A job's output that could not be written for a full disk or a refused or
// read-only folder: the operator is told the cause in words, with the file
// (or, for a printer, the printer the document was made for).
#pragma once

// True when the last platform failure had such a cause and the operator was
// told; otherwise nothing is shown and the caller logs the failure as before.
bool TellJobOutputFailure();
