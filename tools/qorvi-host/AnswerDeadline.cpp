// Dropping the connection from the interface turn ends the library's wait at once: the transport
// sees its socket closed when the turn returns and reports the exchange as failed.
#include "AnswerDeadline.h"

#include <QorviCSECommon.h>

AnswerDeadline::AnswerDeadline(Clock::duration limit)
    : m_limit(limit), m_deadline(Clock::time_point::max()), m_bExpired(false)
{
}

void AnswerDeadline::Start()
{
    m_deadline = Clock::now() + m_limit;
    m_bExpired = false;
}

bool AnswerDeadline::Expired() const
{
    return m_bExpired;
}

void AnswerDeadline::PumpMessages()
{
    if (m_bExpired || Clock::now() < m_deadline)
        return;
    m_bExpired = true;
    CSEIntegrationAgent::GetIntegrationAgent().Disconnect();
}
