#include "browser/NetworkNotice.h"

namespace browser {

std::optional<QString> NetworkNotice::failed(const LoadFailure& failure) {
    if (!failure.concernsEverySite() || said_ == failure.kind)
        return std::nullopt;
    said_ = failure.kind;
    standing_ =
        failure.kind == LoadFailureKind::Proxy
            ? QStringLiteral("プロキシサーバーに接続できません。プロキシの設定を確かめてください")
            : QStringLiteral(
                  "ネットワークに接続されていません。つながるまでページは表示されません");
    return standing_;
}

void NetworkNotice::loaded() {
    said_.reset();
    standing_.reset();
}

} // namespace browser
