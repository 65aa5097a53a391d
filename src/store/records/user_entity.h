#pragma once

#include <string>

#include "platform/dict.h"
#include "store/base_entity.h"

namespace examora {

// A learner's account on the exam web service. Only the service fills it; nothing of it is
// kept in the local database.
struct UserEntity : BaseEntity {
    int userId = 0;            // icusid
    std::string userName;      // ccusname
    std::string userEmail;     // ccusemail
    std::string userPhone;     // ccusmobile
    std::string userPassword;  // as typed; never stored on the device
    std::string userSex;
    std::string userCity;  // cdccode, as text: the district
    std::string userQQ;    // ccuspage: the position; sent to the service as `qq`
    std::string userRegtime;
    std::string userEdittime;
    std::string userLogintime;
    std::string status;  // cstatus
    std::string endDate;
    std::string userMemo;  // the registration screen keeps the repeated password here
    std::string taskType;

    // Sets the fields the service sends; nullptr gives id 0 and empty texts.
    void initWithDict(const Dict* dict);
    void initWithDict(const Dict& dict) { initWithDict(&dict); }
};

}  // namespace examora
