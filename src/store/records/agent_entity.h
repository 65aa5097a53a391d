#pragma once

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// An agent of the exam service as the service describes it. The service names no fixed
// fields for it, so the record keeps the object's values under their own keys.
struct AgentEntity : BaseEntity {
    Dict values;

    // nullptr gives a record without values.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
