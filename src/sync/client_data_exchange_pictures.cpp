// ClientDataExchange: the pictures of catalogue rows, kept in sys_tableimage.
#include "platform/log.h"
#include "platform/strformat.h"
#include "store/records/course_class_entity.h"
#include "sync/client_data_exchange.h"

namespace examora {

void ClientDataExchange::downloadTableImage(const std::string& tableName,
                                            const std::string& sourceId) {
    std::optional<TableImageEntity> image = service_->loadTableImage(tableName, sourceId);
    if (image) downloadTableImage(*image, tableName, sourceId);
}

void ClientDataExchange::downloadTableImage(const TableImageEntity& image,
                                            const std::string& tableName,
                                            const std::string& sourceId) {
    if (image.image.empty()) {
        execute("delete from sys_tableimage where ctblname=? and csourceid=?",
                {Value(tableName), Value(sourceId)});
        return;
    }
    try {
        if (rowExists("select 0 from sys_tableimage where ctblname=? and csourceid=?",
                      {Value(tableName), Value(sourceId)})) {
            execute(
                "update sys_tableimage set pimage=?,cextname=? where ctblname=? and csourceid=?",
                {Value(image.image), Value(image.extname), Value(tableName), Value(sourceId)});
        } else {
            execute(
                "insert into sys_tableimage(ctblname,csourceid,pimage,cextname,dchangedate) "
                "values(?,?,?,?,?)",
                {Value(tableName), Value(sourceId), Value(image.image), Value(image.extname),
                 Value(image.changedate)});
        }
    } catch (const ExamError& e) {
        // A class without its picture is still a class: the row stays written.
        logf("downloadImage error:%@%@", e.name(), e.reason());
    }
}

ClientDataExchange::TablePictures ClientDataExchange::fetchClassPictures(
    const nlohmann::json& list) {
    TablePictures pictures;
    for (const nlohmann::json& object : list) {
        if (!object.is_object()) continue;
        CourseClassEntity row;
        row.initWithDict(ExamWebServiceUtil::jsonToDict(object));
        const std::string sourceId = strformat("%d", row.classid);
        if (pictures.contains(sourceId)) continue;
        pictures.emplace(sourceId, service_->loadTableImage("courseclass", sourceId));
    }
    return pictures;
}

}  // namespace examora
