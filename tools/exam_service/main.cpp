// Serves the exam web service on a free port of 127.0.0.1 and prints the port on the first line
// of standard output; runs until interrupted.
#include <csignal>
#include <cstdio>
#include <memory>

#include "exam_service/exam_server.h"
#include "exam_service/scripted_responses.h"
#include "platform/date_time.h"

int main() {
    using namespace examora;
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    // Blocked before any thread starts, so every thread inherits the mask and sigwait sees them.
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    auto responses = std::make_shared<ScriptedResponses>();
    responses->setResponder("GetServerTime", [](const RecordedRequest&) {
        return ServiceReply::soapResult("GetServerTime", nowLocalText());
    });
    ExamServer server(responses);
    if (!server.start()) {
        std::fprintf(stderr, "cannot bind a port on 127.0.0.1\n");
        return 1;
    }
    std::printf("%d\n", server.port());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    return 0;
}
