#pragma once
// The handle under which the database keeps a prepared statement. It offers only
// reference counting; the statement's operations are reached through
// IPreparedStatementEx, found by asking the object for it.
#include "db/IRefCounted.h"

namespace KTDSOLD {

class IPreparedStatement : public kttl::IRefCounted {};

}  // namespace KTDSOLD
