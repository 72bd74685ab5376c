// Chooses the channel the transport works through: the platform's, recorded in capture mode, or
// the recording itself in replay mode (no socket at all).
#include "connection/CSESocketChannel.h"

#include "MOCK_EnvironmentServices.h"
#include "capture/MOCK_CaptureSocketChannel.h"
#include "capture/MOCK_ReplaySocketChannel.h"
#include "connection/CSEPlatformSocketChannel.h"

std::unique_ptr<CSESocketChannel> CreateSocketChannel()
{
    if (MOCK_EnvironmentServices::IsReplay())
        return std::make_unique<MOCK_ReplaySocketChannel>();
    std::unique_ptr<CSESocketChannel> platform = std::make_unique<CSEPlatformSocketChannel>();
    if (MOCK_EnvironmentServices::IsCapture())
        return std::make_unique<MOCK_CaptureSocketChannel>(std::move(platform));
    return platform;
}
