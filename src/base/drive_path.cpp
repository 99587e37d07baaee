#include "base/drive_path.h"

namespace ostra {

DrivePath::DrivePath(Text text) : text_(std::move(text)) {
  while (text_.size() > 3 && text_.back() == u'\\') text_.pop_back();
  if (text_.size() == 2 && text_[1] == u':') text_ += u'\\';
}

Text DrivePath::Folder() const {
  if (text_.empty() || text_.back() == u'\\') return text_;
  return text_ + u'\\';
}

Text DrivePath::Join(TextView name) const {
  Text path = Folder();
  path += name;
  return path;
}

DrivePath DrivePath::Parent() const {
  if (IsRoot()) return *this;
  const size_t slash = text_.find_last_of(u'\\');
  if (slash == Text::npos) return DrivePath();
  return DrivePath(text_.substr(0, slash + 1));
}

Text DrivePath::FileName() const {
  if (IsRoot()) return Text();
  const size_t slash = text_.find_last_of(u'\\');
  return slash == Text::npos ? text_ : text_.substr(slash + 1);
}

}  // namespace ostra
