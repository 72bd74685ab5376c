// The process-wide state behind MOCK_EnvironmentServices and TST_XMLServices, for the library's own tests.
#ifndef QORVI_CAPTURE_MOCK_ENVIRONMENTSTATE_H
#define QORVI_CAPTURE_MOCK_ENVIRONMENTSTATE_H

namespace mock {

// Forgets the resolved mode, the cached folders and the file counter, as in a new process: a test
// child that switches "DV5_MOCK_MODE" starts from here.
void ForgetResolvedEnvironment();
// Numbers the next capture file 000001 again.
void ResetCaptureCounter();

} // namespace mock

#endif
