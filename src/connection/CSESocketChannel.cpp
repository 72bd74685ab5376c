// Chooses the channel the transport works through.
#include "connection/CSESocketChannel.h"

#include "connection/CSEPlatformSocketChannel.h"

std::unique_ptr<CSESocketChannel> CreateSocketChannel()
{
    return std::make_unique<CSEPlatformSocketChannel>();
}
