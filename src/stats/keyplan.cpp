#include "keyplan.h"

#include "keystrokes.h"

#include "coding/codelookup.h"
#include "coding/tags.h"
#include "coding/utf16.h"

#include <vector>

namespace stats {

namespace {

// The shortest code of an item's pair, or empty.
QString shortestCode(const coding::CodePair &codes) {
    const int std = codeLength(codes.stdCode), shortLen = codeLength(codes.shortCode);
    if (shortLen > 0 && (std == 0 || shortLen < std))
        return codes.shortCode.trimmed();
    return std > 0 ? codes.stdCode.trimmed() : QString();
}

struct Step {
    int keys = 0;
    int items = 0;
    int next = 0; // where the rest of the run begins
    PlanItem item;
};

// The run [start, end) of Chinese characters: the cheapest way, fewest items on a tie.
bool planRun(coding::CodeDatabase &db, const QString &text, int start, int end,
             QList<PlanItem> &items, QString *error) {
    // The character starts of the run.
    std::vector<int> starts;
    for (int i = start; i < end; i += int(coding::utf16::characterLength(text, i)))
        starts.push_back(i);
    const int n = int(starts.size());
    starts.push_back(end);
    std::vector<Step> best(size_t(n) + 1);
    for (int k = n - 1; k >= 0; --k) {
        Step &b = best[size_t(k)];
        const int from = starts[size_t(k)];
        for (int len = 1; len <= kLongestPlannedWord && k + len <= n; ++len) {
            const int to = starts[size_t(k + len)];
            const QString item = text.mid(from, to - from);
            coding::CodePair codes;
            if (!coding::findItemCodes(db, nullptr, item, codes, coding::LookupRule::TypedWord)) {
                if (error)
                    *error = db.error().detail.isEmpty() ? db.error().path : db.error().detail;
                return false;
            }
            const QString code = shortestCode(codes);
            PlanItem candidate{from, item, code, 0, PlanItem::Kind::Character};
            if (code.isEmpty()) {
                if (len > 1)
                    continue; // not a word of the database
                candidate.kind = PlanItem::Kind::NoCode;
                candidate.keys = 1;
            } else {
                candidate.kind = len > 1 ? PlanItem::Kind::Word : PlanItem::Kind::Character;
                candidate.keys = codeLength(code) + 2;
            }
            const Step &rest = best[size_t(k + len)];
            const int keys = candidate.keys + rest.keys, count = 1 + rest.items;
            if (len == 1 || keys < b.keys || (keys == b.keys && count < b.items))
                b = {keys, count, k + len, candidate};
        }
    }
    for (int k = 0; k < n; k = best[size_t(k)].next)
        items.append(best[size_t(k)].item);
    return true;
}

} // namespace

std::optional<KeyPlan> planFewestKeys(coding::CodeDatabase &db, const QString &text,
                                      const QString &tags, QString *error) {
    KeyPlan plan;
    const qsizetype limit = std::min(text.size(), tags.size());
    // Runs of Chinese: the units with word tags, across the words' boundaries.
    for (qsizetype i = 0; i < limit;) {
        const QChar tag = tags.at(i);
        qsizetype j = i;
        if (coding::isWordTag(tag)) {
            while (j < limit && coding::isWordTag(tags.at(j)))
                ++j;
            if (!planRun(db, text, int(i), int(j), plan.items, error))
                return std::nullopt;
        } else {
            while (j < limit && tags.at(j) == tag)
                ++j;
            if (coding::isTag(tag, coding::Tag::AlphaNum)) {
                plan.items.append(
                    {int(i), text.mid(i, j - i), QString(), int(j - i), PlanItem::Kind::AlphaNum});
            } else if (coding::isTag(tag, coding::Tag::Punct)) {
                for (qsizetype k = i; k < j;) {
                    const qsizetype len = coding::utf16::characterLength(text, k);
                    plan.items.append(
                        {int(k), text.mid(k, len), QString(), 1, PlanItem::Kind::Punctuation});
                    k += len;
                }
            }
        }
        i = j;
    }
    for (const PlanItem &item : plan.items) {
        plan.total += item.keys;
        switch (item.kind) {
        case PlanItem::Kind::Character:
            plan.charKeys += item.keys - 2;
            plan.funcKeys += 2;
            break;
        case PlanItem::Kind::Word:
            plan.wordKeys += item.keys - 2;
            plan.funcKeys += 2;
            break;
        case PlanItem::Kind::NoCode:
            plan.charKeys += item.keys;
            break;
        case PlanItem::Kind::Punctuation:
            plan.punctKeys += item.keys;
            break;
        case PlanItem::Kind::AlphaNum:
            plan.alphaKeys += item.keys;
            break;
        }
    }
    return plan;
}

QList<MissedShortcut> findMissedShortcuts(const KeyPlan &plan, const QString &text,
                                          const QList<coding::TypedInput> &inputs,
                                          const std::function<int(const QString &)> &partKeys) {
    // The input that last typed each unit.
    std::vector<int> lastInput(size_t(text.size()), -1);
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const coding::TypedInput &in = inputs.at(i);
        for (int u = std::max(in.position, 0);
             u < std::min<qsizetype>(in.position + in.length, text.size()); ++u)
            lastInput[size_t(u)] = int(i);
    }
    QList<MissedShortcut> missed;
    for (const PlanItem &item : plan.items) {
        if (item.kind != PlanItem::Kind::Character && item.kind != PlanItem::Kind::Word)
            continue;
        const int end = item.start + int(item.text.size());
        QList<int> covering;
        bool whole = end <= text.size();
        for (int u = item.start; whole && u < end; ++u) {
            const int in = lastInput[size_t(u)];
            if (in < 0) {
                whole = false; // not typed (the test ended before it)
                break;
            }
            if (covering.isEmpty() || covering.last() != in)
                covering.append(in);
        }
        if (!whole || covering.isEmpty())
            continue;
        // Every input must lie within the item, and have typed its part last.
        bool inside = true;
        QStringList parts;
        int partsKeys = 0;
        for (int in : covering) {
            const coding::TypedInput &t = inputs.at(in);
            inside = inside && t.position >= item.start && t.position + t.length <= end;
            for (int u = t.position; inside && u < t.position + t.length; ++u)
                inside = lastInput[size_t(u)] == in;
            if (!inside)
                break;
            const QString part = text.mid(t.position, t.length);
            parts << part;
            partsKeys += partKeys(part);
        }
        if (!inside)
            continue;
        MissedShortcut row{item.start, item.text, parts.join(QStringLiteral(" | ")),
                           item.code,  0,         MissedShortcut::Kind::InParts};
        if (covering.size() > 1) {
            row.saved = partsKeys - item.keys;
        } else {
            row.kind = MissedShortcut::Kind::LongerCode;
            row.saved = inputs.at(covering.first()).keys - item.keys;
        }
        if (row.saved > 0)
            missed.append(row);
    }
    return missed;
}

int fewestKeysOf(coding::CodeDatabase &db, const QString &text) {
    const auto plan = planFewestKeys(db, text, QString(text.size(), QLatin1Char('0')));
    return plan ? plan->total : 0;
}

int characterCount(const QString &text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); i += coding::utf16::characterLength(text, i))
        ++count;
    return count;
}

QString formatPlan(const KeyPlan &plan) {
    QStringList parts;
    for (const PlanItem &item : plan.items)
        parts << (item.code.isEmpty()
                      ? item.text
                      : item.text + QLatin1Char('(') + item.code + QLatin1Char(')'));
    return parts.join(QLatin1Char(' '));
}

} // namespace stats
