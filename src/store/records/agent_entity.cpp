// AgentEntity: an agent of the exam service, read from its object.

#include "store/records/agent_entity.h"

namespace examora {

void AgentEntity::initWithDict(const Dict* dict) {
    values = dict ? *dict : Dict();
}

}  // namespace examora
