#include "browser/NetworkNotice.h"

namespace browser {

std::optional<QString> NetworkNotice::failed(const LoadFailure& failure) {
    if (!failure.concernsEverySite() || said_ == failure.kind)
        return std::nullopt;
    said_ = failure.kind;
    if (failure.kind == LoadFailureKind::Proxy)
        return QStringLiteral("プロキシサーバーに接続できません。プロキシの設定を確かめてください");
    return QStringLiteral("ネットワークに接続されていません。つながるまでページは表示されません");
}

void NetworkNotice::loaded() {
    said_.reset();
}

} // namespace browser
