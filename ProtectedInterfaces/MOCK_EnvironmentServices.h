// MOCK_EnvironmentServices: the process's capture/replay mode and the folders of a recorded run.
#ifndef MOCK_ENVIRONMENTSERVICES_H
#define MOCK_ENVIRONMENTSERVICES_H

#include "DVKUnicodeString.h"

/// The run mode of the process (customer, capture or replay, from "DV5_MOCK_MODE") and the folders
/// that capture and replay work in. Everything is read from the environment once and then kept.
class MOCK_EnvironmentServices
{
public:
    /// True when "DV5_MOCK_MODE" is exactly "capture": every outside interaction is also recorded.
    static bool IsCapture();
    /// True when "DV5_MOCK_MODE" is exactly "replay": outside interactions answer from a recording.
    static bool IsReplay();
    /// True when the process is neither capturing nor replaying (the normal case).
    static bool IsCustomerMode();

    /// The folder of the numbered capture files ("DV5_MOCK_DATA_PATH"). Ends the process (fatal
    /// assertion) in customer mode or when the variable is unset or empty.
    static DVKUnicodeString GetMockDataPath();
    /// The checkout folder recorded after each response ("DV5_MOCK_CHECKOUT_PATH"); fatal as above.
    static DVKUnicodeString GetMockCheckoutPath();
    /// The folder for the replay engine's rewritten documents ("DV5_MOCK_OUT_PATH"); fatal as above.
    static DVKUnicodeString GetMockOutPath();
    /// The prefix of a recorded run ("DV5_MOCK_PREFIX"); fatal as above.
    static DVKUnicodeString GetMockPrefix();

private:
    /// Reads "DV5_MOCK_MODE" when the mode has not been resolved yet.
    static void InitializeRTMModeVariable();
};

#endif
