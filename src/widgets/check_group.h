#pragma once
// Radio semantics shared by radio buttons and radio menu items: checking one member unchecks the others.
#include <algorithm>
#include <vector>

namespace tintal {

template <typename Member>
class CheckGroup {
public:
    void add(Member* member) { members_.push_back(member); }
    void remove(Member* member) {
        members_.erase(std::remove(members_.begin(), members_.end(), member), members_.end());
    }
    void uncheckOthers(const Member* keep) {
        for (Member* m : members_) {
            if (m != keep) m->uncheckSilently();
        }
    }
    Member* checkedMember() const {
        for (Member* m : members_) {
            if (m->checked()) return m;
        }
        return nullptr;
    }

private:
    std::vector<Member*> members_;
};

}  // namespace tintal
