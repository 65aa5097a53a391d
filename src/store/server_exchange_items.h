#pragma once

#include <array>
#include <string_view>

namespace examora {

// The base items that the service refreshes table by table, with the item numbers that the
// service and the rows of sys_serverexchangeitem both use. The template database
// (resources/zxexam.sql) holds exactly these rows; keep the two lists equal. The rows are
// processed in number order, so classes come before sub-classes and sub-classes before courses.
struct ServerExchangeItem {
    int id;
    std::string_view name;
};

inline constexpr std::array<ServerExchangeItem, 7> kServerExchangeItems{{
    {1, "courseclass"},
    {2, "coursesubclass"},
    {3, "course"},
    {4, "district"},
    {5, "sys_cussetting"},
    {6, "sys_message"},
    {7, "sys_photoad"},
}};

}  // namespace examora
