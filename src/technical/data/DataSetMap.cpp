#include "technical/data/DataSetMap.h"

namespace korven::technical {

int countDataSet(db::Transaction& transaction, const QString& statement) {
    return db::inTransaction(
        transaction, [&](db::Transaction& t) { return static_cast<int>(t.select(statement).size()); });
}

} // namespace korven::technical
