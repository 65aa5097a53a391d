#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/content_loader.h"
#include "server/reference_service.h"
#include "support/store_test_fixture.h"

namespace examora {

// A test home with the template database and the reference exam service running in-process on
// a free port, with the service defaults pointing at it. The base-item methods are answered by the
// service's own store and recorded in order; the test may make one item's row list come back as
// a scripted reply instead, and may hold the server-time call until it releases it.
class ReferenceServiceTest : public StoreTest {
  protected:
    ReferenceServiceTest();
    ~ReferenceServiceTest() override;

    // Adds or changes (put) or deletes (remove) a catalogue row on the service.
    void put(const std::string& table, const Dict& row);
    void remove(const std::string& table, const Dict& key);

    // The methods called so far, in order.
    std::vector<std::string> calls() const;
    // From now on the item's row list is answered with this reply.
    void scriptRows(const std::string& itemName, ServiceReply reply);
    // Holds every server-time call until releaseServerTime; released calls answer with a fault.
    void holdServerTime();
    // Returns once a server-time call is being held.
    void awaitHeldServerTime();
    void releaseServerTime();

    std::optional<std::string> localDate(const std::string& item);
    std::string serverDate(const std::string& item);

    std::unique_ptr<ReferenceService> service;
    std::unique_ptr<ContentLoader> loader;

  private:
    void record(const std::string& method);

    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::vector<std::string> calls_;
    std::map<std::string, ServiceReply> scripted_;
    bool holding_ = false;
    int held_ = 0;
};

}  // namespace examora
