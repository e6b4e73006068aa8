# Thin wrappers; the scripts do the work.
.PHONY: run test deps
run:
	bash scripts/run.sh
test:
	bash scripts/test.sh
deps:
	bash scripts/deps.sh
