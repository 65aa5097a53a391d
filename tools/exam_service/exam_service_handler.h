#pragma once

#include "exam_service/recorded_request.h"
#include "server/service_reply.h"

namespace examora {

// Decides the answer to each request of the loopback service. Called from the server's worker
// threads, possibly several at once.
class ExamServiceHandler {
  public:
    virtual ~ExamServiceHandler() = default;
    virtual ServiceReply handle(const RecordedRequest& request) = 0;
};

}  // namespace examora
