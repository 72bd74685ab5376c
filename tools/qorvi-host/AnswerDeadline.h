// The demo host's application object: during the interface turn that the library gives while it
// awaits a response, it drops the connection once the service has had its time to answer.
#ifndef QORVI_HOST_ANSWERDEADLINE_H
#define QORVI_HOST_ANSWERDEADLINE_H

#include <chrono>

#include <DVKApplication.h>

class AnswerDeadline : public DVKApplication
{
public:
    using Clock = std::chrono::steady_clock;

    explicit AnswerDeadline(Clock::duration limit);

    // Starts the time of one step (its exchanges together) and forgets an earlier expiry.
    void Start();
    // True when the step ran out of time and the connection was dropped for it.
    bool Expired() const;

    void PumpMessages() override;

private:
    Clock::duration m_limit;
    Clock::time_point m_deadline;
    bool m_bExpired;
};

#endif
