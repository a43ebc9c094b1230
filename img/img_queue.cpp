#include "img/img_queue.h"

#include "text/ascii.h"

namespace quarn {

bool IsTextureName(const std::string& name) {
  return name.size() >= 4 &&
         ToUpperAscii(name.substr(name.size() - 4)) == ".TXD";
}

size_t FirstOverflowing(const ImgPendingAdds& queues,
                        const std::vector<std::string>& names) {
  size_t others = queues.Others.size();
  size_t textures = queues.Textures.size();
  for (size_t i = 0; i < names.size(); ++i) {
    size_t& used = IsTextureName(names[i]) ? textures : others;
    if (used >= kImgQueueCapacity) return i;
    ++used;
  }
  return names.size();
}

void QueuePendingAdd(ImgPendingAdds& queues, const std::string& source_folder,
                     const std::string& name) {
  std::vector<PendingAdd>& queue =
      IsTextureName(name) ? queues.Textures : queues.Others;
  queue.push_back(PendingAdd{source_folder, name});
}

std::string QueueFullMessage(const std::string& name) {
  return "IMG queue full: " + name + " not queued (at most " +
         std::to_string(kImgQueueCapacity) +
         " files and as many textures until IMG CLOSE)";
}

}  // namespace quarn
