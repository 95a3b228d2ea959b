// A printer device context as the print commands use it: a drawing surface
// for the card renderer and the paper measurement, and the spooler calls of
// one print job. The Win32 implementation wraps the device context returned
// by the print dialog and deletes it when the target is destroyed; the
// native tests record the calls.
#pragma once

#include "render/drawing_surface.h"

// What starting a document gave.
enum class DocStart {
    Started,    // StartDocW returned a job id
    Cancelled,  // the user cancelled (e.g. the output file name prompt)
    Failed,     // the spooler refused the job
};

class PrintTarget {
public:
    virtual ~PrintTarget() = default;

    virtual DrawingSurface& surface() = 0;

    // Installs the abort procedure, then StartDocW with this document name
    // (no output file, no data type, no flags).
    virtual DocStart start_doc(const char16_t* doc_name) = 0;
    // StartPage / EndPage; false when the spooler reports a failure (also
    // when the job was deleted from the queue).
    virtual bool start_page() = 0;
    virtual bool end_page() = 0;
    virtual void end_doc() = 0;
    virtual void abort_doc() = 0;
};
