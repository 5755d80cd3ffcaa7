#include "records/store_worker.h"

namespace quovella {

StoreWorker::~StoreWorker() {
    worker_.finish();
    store_->close();
}

}  // namespace quovella
