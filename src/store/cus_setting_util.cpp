// CusSettingUtil: the name/value custom settings of sys_cussetting.

#include "store/cus_setting_util.h"

#include <exception>

#include "platform/exam_error.h"
#include "platform/log.h"
#include "platform/text_util.h"

namespace examora {

std::string CusSettingUtil::getValue(const std::string& name) {
    return ExecuteScalarString("select cvalue from sys_cussetting where cname=?", name)
        .value_or(std::string());
}

int CusSettingUtil::getIntValue(const std::string& name, int defaultValue) {
    const std::string value = getValue(name);
    if (isEmpty(std::string_view(value))) return defaultValue;
    return Value(value).asInt();
}

bool CusSettingUtil::setValue(const std::string& name, const std::string& value) {
    if (ExecuteScalar("select cvalue from sys_cussetting where cname=? and cvalue=?", name, value))
        return false;
    if (ExecuteScalar("select cvalue from sys_cussetting where cname=?", name))
        return ExecuteNonQuery("update sys_cussetting set cvalue=? where cname =?", value, name);
    if (ExecuteNonQuery("insert into sys_cussetting(cname, cvalue,dchangedate) values "
                        "(?,?,datetime('now','localtime'))",
                        name, value))
        return true;
    // Another connection may have inserted the name between the look-up and the insert; the
    // value asked for must still win.
    return ExecuteNonQuery("update sys_cussetting set cvalue=? where cname =?", value, name);
}

void CusSettingUtil::clearDBData() {
    static constexpr const char* kStatements[] = {
        "delete from sys_tableimage",  "update sys_serverexchangeitem set dupdatedate=null",
        "delete from sys_photoad",     "delete from sys_message",
        "delete from sys_knowledge",   "delete from sys_exchangeclienttask",
        "delete from sys_cussetting",  "delete from simulationpaperdetail",
        "delete from simulationpaper", "delete from simulationlog",
        "delete from district",        "delete from cs_writenote",
        "delete from cs_writeerror",   "delete from coursesubject",
        "delete from courseoutline",   "delete from coursechapter",
        "delete from course",          "delete from coursesubclass",
        "delete from courseclass",
    };
    if (!BeginTran()) {
        logLine("clearDBData error: the database could not be locked");
        return;
    }
    try {
        // A statement that fails is logged by the connection; the others still run.
        for (const char* sql : kStatements)
            ExecuteNonQuery(sql, std::vector<Value>{});
        if (!CommitTran()) logLine("clearDBData error: the commit failed");
    } catch (const ExamError& e) {
        RollbackTran();
        logf("clearDBData error:%@%@", e.name(), e.reason());
    } catch (const std::exception& e) {
        RollbackTran();
        logf("clearDBData error:%@", e.what());
    }
}

std::string CusSettingUtil::getSettingValue(const std::string& name) {
    CusSettingUtil util;
    return util.getValue(name);
}

bool CusSettingUtil::setSettingValue(const std::string& name, const std::string& value) {
    CusSettingUtil util;
    return util.setValue(name, value);
}

}  // namespace examora
