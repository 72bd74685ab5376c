/// \file
/// CSEProgressBar: a progress display open for the lifetime of the object.
#ifndef CSEPROGRESSBAR_H
#define CSEPROGRESSBAR_H

#include "CSEString.h"

/// A progress display open for the lifetime of the object.
class CSEProgressBar
{
public:
    CSEProgressBar();
    /// Opens the host's progress display for steps steps (closed by the destructor).
    explicit CSEProgressBar(int steps);
    virtual ~CSEProgressBar();

    /// Advances the host's progress display by one step, showing text.
    void ProgressShowNextStep(CSEString text);

private:
    CSEProgressBar(const CSEProgressBar&) = delete;
    CSEProgressBar& operator=(const CSEProgressBar&) = delete;
};

#endif
