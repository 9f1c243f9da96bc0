#pragma once
// Portable state of a window control. The model is the truth; a platform view renders it and
// feeds user input back through the same setters the program uses, so handlers fire alike.
#include <functional>
#include <string>
#include <utility>

namespace tintal {

class Control {
public:
    using Handler = std::function<void()>;

    explicit Control(std::string name, std::string caption = {})
        : name_(std::move(name)), caption_(std::move(caption)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { changeAndRender(caption_, std::move(caption)); }
    const std::string& hint() const { return hint_; }
    void setHint(std::string hint) { changeAndRender(hint_, std::move(hint)); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { changeAndRender(enabled_, enabled); }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { changeAndRender(visible_, visible); }

    // The view's hook: called after any change of state, whoever made it.
    void setRenderer(Handler renderer) { renderer_ = std::move(renderer); }

protected:
    void render() const {
        if (renderer_) renderer_();
    }
    template <typename T, typename U>
    bool changeAndRender(T& field, U&& value) {
        if (field == value) return false;
        field = std::forward<U>(value);
        render();
        return true;
    }
    static void fire(const Handler& handler) {
        if (handler) handler();
    }

private:
    std::string name_;
    std::string caption_;
    std::string hint_;
    bool enabled_ = true;
    bool visible_ = true;
    Handler renderer_;
};

}  // namespace tintal
