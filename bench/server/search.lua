-- wrk script: search requests as the player sends them, rotating through common and rare
-- words (Korean in UTF-8 percent form), first and later pages, language filters and the chart.
-- Each thread starts at another place in the rotation.
local words = {
  "%EC%82%AC%EB%9E%91",              -- 사랑
  "%EB%88%88%EB%AC%BC",              -- 눈물
  "%EB%B3%84%EB%B9%9B/%EB%85%B8%EB%9E%98", -- 별빛 노래
  "%EA%B7%B8%EB%A6%AC%EC%9B%80",     -- 그리움
  "love", "night/dream", "forever", "magic", "music", "moon",
  "%E6%A1%9C",                       -- 桜
  "%E6%9C%88%E4%BA%AE",              -- 月亮
  "official", "nothingmatches",
}
local suffixes = { "", "&lr=ko", "&lr=en", "&lr=ja", "&lr=zh" }
local paths = {}
for _, word in ipairs(words) do
  for _, suffix in ipairs(suffixes) do
    paths[#paths + 1] = "/feeds/api/videos/-/Music?vq=" .. word ..
      "&orderby=relevance&max-results=30&start-index=1" .. suffix
    paths[#paths + 1] = "/feeds/api/videos/-/Music?q=" .. word ..
      "&orderby=relevance&max-results=30&start-index=31" .. suffix
  end
end
paths[#paths + 1] = "/feeds/api/videos/-/Music?orderby=rating&max-results=50&start-index=1&lr=ko&time=this_month"

-- TUNOVA_BENCH_PATHS names a file of request paths, one a line, used instead of the list above.
local file = os.getenv("TUNOVA_BENCH_PATHS")
if file and file ~= "" then
  paths = {}
  for line in io.lines(file) do
    paths[#paths + 1] = line
  end
end

counter = 0
setup = function(thread)
  thread:set("counter", math.random(1, 1000))
end
request = function()
  counter = counter + 1
  return wrk.format("GET", paths[(counter % #paths) + 1])
end

done = function(summary, latency, requests)
  io.write(string.format("requests: %d, errors: %d, non-2xx: %d\n", summary.requests,
    summary.errors.connect + summary.errors.read + summary.errors.write + summary.errors.timeout,
    summary.errors.status))
  io.write(string.format("throughput: %.0f requests/s\n", summary.requests / (summary.duration / 1e6)))
  for _, p in ipairs({ 50, 90, 99, 99.9 }) do
    io.write(string.format("latency p%g: %.2f ms\n", p, latency:percentile(p) / 1000))
  end
end
