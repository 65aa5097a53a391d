#pragma once

namespace examora {

class ServiceStore;
class SoapDispatcher;

// The reference service's system and catalogue methods: the server time, the base-item change
// list and the rows changed since a date (plain and by course version), the catalogue pictures,
// the application settings and version, and the published messages. Each answers in the form the
// client's operation catalogue reads: JSON lists of objects keyed as the client's records, "[]"
// for an empty list, a left-out result for a missing text.
class CatalogueMethods {
  public:
    // Adds the handlers, which read `store` for as long as the dispatcher serves.
    static void registerWith(SoapDispatcher& dispatcher, const ServiceStore& store);
};

}  // namespace examora
